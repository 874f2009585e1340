#pragma once
// The component's own reader of device-independent bitmap files (".bmp"), and of the bitmap
// structures that metafiles embed. Accepted: the 12-byte core header and the 40- to 124-byte
// info headers; 1, 4, 8 and 24 bits uncompressed, 8 and 4 bits run-length encoded, and 16 and
// 32 bits (plain or with bit fields), which become 24-bit bitmaps. Anything else is refused.

#include "image/image_bitmap.h"

#include <cstdint>
#include <span>
#include <string>

namespace vorpane {

// Reads a whole ".bmp" file. On failure `out` is empty and `error` (if given) says why.
bool readBmp(std::span<const uint8_t> file, ImageBitmap& out, std::string* error = nullptr);

// Reads a bitmap given as its info header with colour table, and its pixel data.
bool readDib(std::span<const uint8_t> info, std::span<const uint8_t> bits, ImageBitmap& out,
    std::string* error = nullptr);

} // namespace vorpane
