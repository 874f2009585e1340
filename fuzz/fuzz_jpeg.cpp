// Feeds arbitrary bytes to the JPEG reader and touches every pixel of what it decoded.
#include "bitmap_reader_fuzz.h"
#include "image/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vorpane::fuzz::fuzzBitmapReader(
        [](std::span<const uint8_t> file, vorpane::ImageBitmap& out) { return vorpane::readJpeg(file, out); },
        data, size);
}
