#pragma once
// PNG pictures through libpng: transparency composited onto a fixed blue background, 16-bit
// samples stripped to 8, interlaced files read pass by pass. Palette files keep their depth
// (2 bits become 8); grey files become 8 bits with a grey palette; colour files 24 bits.

#include "image/image_bitmap.h"

#include <cstdint>
#include <span>
#include <string>

namespace vorpane {

// Where transparent parts of a colour PNG end up.
constexpr QRgb kPngBackground = 0xFF1F7FFFu; // red 31, green 127, blue 255

// Any library error ends the load: `out` is then empty and `error` (if given) holds its text.
bool readPng(std::span<const uint8_t> file, ImageBitmap& out, std::string* error = nullptr);

} // namespace vorpane
