#pragma once
// The small value types of a sheet layout: rectangles in sheet units, platform colours, and the
// TextStyle and FontStyle bits that scripts pass to the sheet object.
//
// Sheet units: integers in 0.01 mm, x to the right, y pointing up, the page's top-left corner at
// (0, 0), so every point on the page has y <= 0. A rectangle keeps its top-left corner in (x1, y1)
// and its bottom-right corner in (x2, y2): y1 > y2 for a rectangle of positive height.

#include <cstdint>

namespace vorpane {

struct SheetRect {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;

    int32_t width() const { return x2 - x1; }
    int32_t height() const { return y1 - y2; }
    // Strictly inside: a point on the border is outside.
    bool containsStrictly(int32_t x, int32_t y) const { return x1 < x && x < x2 && y2 < y && y < y1; }
    friend bool operator==(const SheetRect&, const SheetRect&) = default;
};

// A platform colour value: 0x00BBGGRR (red in the low byte).
using SheetColour = uint32_t;

// Scripts give 0xRRGGBB; the top byte is dropped and red and blue change places.
constexpr SheetColour colourFromScript(uint32_t rgb)
{
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}
constexpr uint8_t colourRed(SheetColour c) { return uint8_t(c & 0xFF); }
constexpr uint8_t colourGreen(SheetColour c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t colourBlue(SheetColour c) { return uint8_t((c >> 16) & 0xFF); }

constexpr SheetColour kColourBlack = 0x000000;
constexpr SheetColour kColourWhite = 0xFFFFFF;

// TextStyle: how a text is placed in its box.
using TextStyle = int32_t;
enum : TextStyle {
    TextNormal = 0,
    AlignLeft = 0,
    AlignRight = 1,
    AlignCenter = 2, // wins over AlignRight
    TextMultiline = 4, // word-wrapped when the box has a width
    TextClipped = 8, // clipped to the box, a cut single line ends in an ellipsis
    FieldUnderline = 16, // writing lines under every text line of the box
    UserText = 32, // the user-text font and colour (what the player writes)
};

// FontStyle: the bits of setfont.
using FontStyle = int32_t;
enum : FontStyle {
    FontNormal = 0,
    FontBold = 1,
    FontItalic = 2,
    FontUnderline = 4,
    FontStrikethrough = 8,
};

// Font weights as the platform counts them.
constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;

} // namespace vorpane
