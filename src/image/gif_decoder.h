#pragma once
// The component's own GIF decoder (GIF87a and GIF89a): colour tables, the graphic control
// extension's transparent index, LZW with interlacing. The last image of the file wins. A file
// with a valid header decodes successfully even when its data breaks off; what was decoded stays.

#include "image/image_bitmap.h"

#include <cstdint>
#include <span>

namespace vorpane {

// What a decode met, for tests and diagnostics.
struct GifDecodeReport {
    int images = 0; // image descriptors with a size we decoded
    int badCodes = 0; // LZW codes beyond the table, decoded as the table's next entry
    bool trailer = false;
};

// Decodes `file`. False when the signature is wrong, the header is cut, or an image is larger
// than the caps allow; `out` is then empty.
bool readGif(std::span<const uint8_t> file, ImageBitmap& out, GifDecodeReport* report = nullptr);

} // namespace vorpane
