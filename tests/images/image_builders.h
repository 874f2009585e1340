#pragma once
// Small writers of BMP, GIF and metafile bytes, so that tests can make exactly the file they
// need, including broken ones.

#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

namespace vorpane::test {

using Bytes = std::vector<uint8_t>;

void putLe16(Bytes& out, uint32_t v);
void putLe32(Bytes& out, uint32_t v);

// The six colours of the fixture pattern: pixel (x, y) has colour (x + 2y) mod 6.
QRgb patternColour(int x, int y);
// The grey fixture: level (20x + 3y) mod 256.
int greyLevel(int x, int y);
// Path of a fixture in tests/data/images of the source tree.
QString fixture(const char* name);
Bytes readFixture(const char* name);

struct BmpLayout {
    int32_t width = 4;
    int32_t height = 3; // negative: top-down
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    uint32_t coloursUsed = 0;
    std::vector<QRgb> colours; // the colour table as written
    Bytes pixels; // written as given
};
Bytes makeBmp(const BmpLayout& layout);

struct GifLayout {
    int width = 4;
    int height = 3;
    std::vector<QRgb> globalTable; // size a power of two from 2 to 256, or empty
    int transparent = -1; // written in a graphic control extension when >= 0
    bool interlaced = false;
    int minCodeSize = 0; // 0: derived from the table
    bool trailer = true;
};
// Encodes `indices` (row by row from the top, in interlace order when interlaced) with LZW
// codes that never grow past the first code size.
Bytes makeGif(const GifLayout& layout, const std::vector<uint8_t>& indices);
// A one-image GIF whose image data is exactly these codes of `codeBits` bits each.
Bytes makeGifWithCodes(const GifLayout& layout, int codeBits, const std::vector<int>& codes);

// Metafile records: type, then the record's body (padded to 4 bytes).
struct EmfRecord {
    uint32_t type;
    Bytes body;
};
// A header with this frame (0.01 mm) and a reference device of 1000 x 1000 pixels over
// 100 x 100 mm (one device pixel is 0.1 mm), then the records and the end record.
Bytes makeEmf(
    int left, int top, int right, int bottom, const std::vector<EmfRecord>& records, uint16_t handles = 8);
Bytes ints(std::initializer_list<int32_t> values);

} // namespace vorpane::test
