#pragma once
// JPEG pictures through the IJG libjpeg API: greyscale files become 8 bits with 256 grey
// levels, colour files are quantised by the library to an 8-bit picture of at most 128 colours.

#include "image/image_bitmap.h"

#include <cstdint>
#include <span>
#include <string>

namespace vorpane {

constexpr int kJpegQuantisedColours = 128;

// A library error ends the load: `out` is then empty and `error` (if given) holds its message.
bool readJpeg(std::span<const uint8_t> file, ImageBitmap& out, std::string* error = nullptr);

} // namespace vorpane
