#include "image/image_limits.h"

namespace vorpane {

namespace {
int64_t g_pixelLimit = kMaxImagePixels;
}

int64_t imagePixelLimit() { return g_pixelLimit; }

void setImagePixelLimit(int64_t pixels)
{
    g_pixelLimit = pixels > 0 && pixels < kMaxImagePixels ? pixels : kMaxImagePixels;
}

std::optional<size_t> bitmapStride(int64_t width, int bitsPerPixel)
{
    if (width <= 0 || width > kMaxImageSide || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return std::nullopt;
    // Both factors are bounded above, so this cannot overflow 64 bits.
    return size_t((width * bitsPerPixel + 31) / 32 * 4);
}

bool imageSizeAcceptable(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return false;
    return width * height <= g_pixelLimit;
}

} // namespace vorpane
