// Feeds arbitrary bytes to the PNG reader and touches every pixel of what it decoded.
#include "sheet/image_limits.h"
#include "sheet/png_reader.h"

#include <cstddef>
#include <cstdint>

namespace {
// Small enough that each input decodes in milliseconds, large enough for every code path.
constexpr int64_t kFuzzPixelLimit = 1 << 18;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = [] {
        vorpane::setImagePixelLimit(kFuzzPixelLimit);
        return true;
    }();
    (void)limited;
    vorpane::ImageBitmap bitmap;
    if (vorpane::readPng({ data, size }, bitmap)) {
        const QImage image = bitmap.toQImage();
        (void)image;
        (void)bitmap.colour(bitmap.width() - 1, bitmap.height() - 1);
    }
    return 0;
}
