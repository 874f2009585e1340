// Feeds arbitrary bytes to the GIF reader and touches every pixel of what it decoded.
#include "sheet/gif_decoder.h"
#include "sheet/image_limits.h"

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
    if (vorpane::readGif({ data, size }, bitmap)) {
        const QImage image = bitmap.toQImage();
        (void)image;
        (void)bitmap.colour(bitmap.width() - 1, bitmap.height() - 1);
    }
    return 0;
}
