#pragma once
// ImageBitmap: the decoded form of every picture, laid out like a device-independent bitmap.
// 1, 4, 8 or 24 bits per pixel; rows stored bottom-up, each padded to a multiple of 4 bytes;
// 24-bit pixels in blue, green, red order; a colour table of 2^bits entries for 8 bits or less
// (a new one holds the 16 VGA colours repeated), an optional palette made from the file's
// colours, and an optional transparent palette index that drawing masks out.

#include <QImage>
#include <QRgb>
#include <cstdint>
#include <span>
#include <vector>

class QPainter;
class QRectF;
class QRect;

namespace vorpane {

class ImageBitmap {
public:
    static constexpr int kNoTransparency = -1;
    static constexpr int kNoColourType = -1;

    // A zero-filled bitmap; false (and an empty bitmap) for unsupported depths or sizes beyond
    // the caps of image_limits.h.
    bool create(int width, int height, int bitsPerPixel);
    void clear();

    bool isNull() const { return m_width == 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitsPerPixel() const { return m_bits; }
    size_t stride() const { return m_stride; }

    int colourType() const { return m_colourType; }
    void setColourType(int type) { m_colourType = type; }
    int transparentIndex() const { return m_transparent; }
    void setTransparentIndex(int index) { m_transparent = index; }

    // Row y counted from the top of the picture.
    uint8_t* row(int y) { return m_pixels.data() + size_t(m_height - 1 - y) * m_stride; }
    const uint8_t* row(int y) const { return m_pixels.data() + size_t(m_height - 1 - y) * m_stride; }
    // All rows as stored: bottom row first.
    std::span<uint8_t> storage() { return m_pixels; }

    const std::vector<QRgb>& colourTable() const { return m_colourTable; }
    // Sets entries from `first` on; entries past the table are ignored.
    void setColourTable(std::span<const QRgb> colours, int first = 0);

    bool hasPalette() const { return !m_palette.empty(); }
    const std::vector<QRgb>& palette() const { return m_palette; }
    // Makes the palette from these colours and sets the colour table from it.
    void setPalette(std::vector<QRgb> colours);

    // Palette index (or colour-table index) at (x, y); bitmaps of 8 bits or less only, else -1.
    int pixel(int x, int y) const;
    void setPixel(int x, int y, int index);
    // The colour at (x, y); for palettised bitmaps the nearest entry is stored on set.
    QRgb colour(int x, int y) const;
    void setColour(int x, int y, QRgb colour);

    // ARGB32 copy with the transparent index as alpha 0.
    QImage toQImage() const;

private:
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    size_t m_stride = 0;
    int m_colourType = kNoColourType;
    int m_transparent = kNoTransparency;
    std::vector<uint8_t> m_pixels;
    std::vector<QRgb> m_colourTable;
    std::vector<QRgb> m_palette;
};

// Stretches `source` of `image` into `destination` without smoothing. A negative width or height
// mirrors: the image's left column goes to destination.left() and its top row to
// destination.top() whatever the signs.
void drawStretched(QPainter& painter, const QRectF& destination, const QImage& image, const QRect& source);

// The 16 standard VGA colours, in the order a new colour table repeats them.
std::span<const QRgb> vgaColours();

// Index of the entry closest to (red, green, blue) by squared distance; the first of equals.
// -1 for an empty palette.
int nearestPaletteIndex(std::span<const QRgb> palette, int red, int green, int blue);

} // namespace vorpane
