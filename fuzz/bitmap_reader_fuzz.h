#pragma once
// The body shared by the picture-reader fuzz targets: decode arbitrary bytes under a small pixel
// cap and touch every pixel of what came out.

#include "image/image_bitmap.h"
#include "image/image_limits.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorpane::fuzz {

// Small enough that each input decodes in milliseconds, large enough for every code path.
constexpr int64_t kFuzzPixelLimit = 1 << 18;

template <typename Reader> int fuzzBitmapReader(Reader read, const uint8_t* data, size_t size)
{
    static const bool limited = [] {
        setImagePixelLimit(kFuzzPixelLimit);
        return true;
    }();
    (void)limited;
    ImageBitmap bitmap;
    if (read(std::span<const uint8_t>(data, size), bitmap)) {
        const QImage image = bitmap.toQImage();
        (void)image;
        (void)bitmap.colour(bitmap.width() - 1, bitmap.height() - 1);
    }
    return 0;
}

} // namespace vorpane::fuzz
