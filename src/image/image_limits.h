#pragma once
// Limits every image reader obeys, so that a hostile file cannot make us allocate without bound.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorpane {

// Larger pictures than this are refused quietly: a sheet never needs more, and the bitmap of the
// largest accepted one (24 bits) stays under 200 MB.
constexpr int64_t kMaxImagePixels = 64LL * 1024 * 1024;
// A file is read into memory whole; nothing we accept can need more (an uncompressed 24-bit
// bitmap at the pixel cap plus headers).
constexpr int64_t kMaxImageFileBytes = 256LL * 1024 * 1024;
// One side of a bitmap; the pixel cap bounds the area, this keeps row arithmetic in int.
constexpr int kMaxImageSide = 1 << 20;

// The pixel cap in force. Fuzz targets lower it so they explore formats instead of allocating.
int64_t imagePixelLimit();
void setImagePixelLimit(int64_t pixels);

// Bytes of one bitmap row, padded to 4 bytes, or nullopt when the size is not acceptable.
std::optional<size_t> bitmapStride(int64_t width, int bitsPerPixel);

// Whether width x height is a size the readers may allocate (positive, within the caps).
bool imageSizeAcceptable(int64_t width, int64_t height);

} // namespace vorpane
