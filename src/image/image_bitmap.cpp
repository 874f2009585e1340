#include "image/image_bitmap.h"

#include "image/image_limits.h"

#include <QPainter>
#include <array>
#include <cmath>

namespace vorpane {

namespace {

constexpr std::array<QRgb, 16> kVga = {
    qRgb(0, 0, 0),
    qRgb(128, 0, 0),
    qRgb(0, 128, 0),
    qRgb(128, 128, 0),
    qRgb(0, 0, 128),
    qRgb(128, 0, 128),
    qRgb(0, 128, 128),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(255, 0, 0),
    qRgb(0, 255, 0),
    qRgb(255, 255, 0),
    qRgb(0, 0, 255),
    qRgb(255, 0, 255),
    qRgb(0, 255, 255),
    qRgb(255, 255, 255),
};

bool supportedDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

} // namespace

std::span<const QRgb> vgaColours() { return kVga; }

int nearestPaletteIndex(std::span<const QRgb> palette, int red, int green, int blue)
{
    int best = -1;
    long bestDistance = 0;
    for (size_t i = 0; i < palette.size(); ++i) {
        const long dr = qRed(palette[i]) - red;
        const long dg = qGreen(palette[i]) - green;
        const long db = qBlue(palette[i]) - blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < bestDistance) {
            best = int(i);
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best;
}

void drawStretched(QPainter& painter, const QRectF& destination, const QImage& image, const QRect& source)
{
    if (destination.width() == 0 || destination.height() == 0 || image.isNull())
        return;
    painter.save();
    // Pixels are repeated or dropped, never blended, as a colour-on-colour stretch does.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QRectF target = destination;
    if (target.width() < 0 || target.height() < 0) {
        // QPainter draws nothing into a rectangle of negative size; mirror the axes instead.
        painter.translate(target.x(), target.y());
        painter.scale(target.width() < 0 ? -1 : 1, target.height() < 0 ? -1 : 1);
        target = QRectF(0, 0, std::abs(target.width()), std::abs(target.height()));
    }
    painter.drawImage(target, image, source);
    painter.restore();
}

bool ImageBitmap::create(int width, int height, int bitsPerPixel)
{
    clear();
    if (!supportedDepth(bitsPerPixel) || !imageSizeAcceptable(width, height))
        return false;
    const auto stride = bitmapStride(width, bitsPerPixel);
    if (!stride)
        return false;
    m_pixels.assign(*stride * size_t(height), 0);
    m_width = width;
    m_height = height;
    m_bits = bitsPerPixel;
    m_stride = *stride;
    if (bitsPerPixel == 4 || bitsPerPixel == 8) {
        const size_t entries = size_t(1) << bitsPerPixel;
        m_colourTable.resize(entries);
        for (size_t i = 0; i < entries; ++i)
            m_colourTable[i] = kVga[i % kVga.size()];
    } else if (bitsPerPixel == 1) {
        // A monochrome bitmap without colours of its own is black on white.
        m_colourTable = { qRgb(0, 0, 0), qRgb(255, 255, 255) };
    }
    return true;
}

void ImageBitmap::clear() { *this = ImageBitmap(); }

void ImageBitmap::setColourTable(std::span<const QRgb> colours, int first)
{
    for (size_t i = 0; i < colours.size(); ++i) {
        const size_t at = size_t(first) + i;
        if (first < 0 || at >= m_colourTable.size())
            break;
        m_colourTable[at] = colours[i] | 0xFF000000u;
    }
}

void ImageBitmap::setPalette(std::vector<QRgb> colours)
{
    for (QRgb& c : colours)
        c |= 0xFF000000u;
    m_palette = std::move(colours);
    setColourTable(m_palette);
}

int ImageBitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_bits > 8)
        return -1;
    const uint8_t* r = row(y);
    switch (m_bits) {
    case 1:
        return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4);
    default:
        return r[x];
    }
}

void ImageBitmap::setPixel(int x, int y, int index)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_bits > 8 || index < 0)
        return;
    uint8_t* r = row(y);
    switch (m_bits) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        r[x >> 3] = (index & 1) ? uint8_t(r[x >> 3] | bit) : uint8_t(r[x >> 3] & ~bit);
        break;
    }
    case 4: {
        uint8_t& b = r[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xF0) | (index & 0x0F)) : uint8_t((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    default:
        r[x] = uint8_t(index);
    }
}

QRgb ImageBitmap::colour(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    if (m_bits == 24) {
        const uint8_t* p = row(y) + size_t(x) * 3;
        return qRgb(p[2], p[1], p[0]);
    }
    const int index = pixel(x, y);
    return size_t(index) < m_colourTable.size() ? m_colourTable[size_t(index)] : qRgb(0, 0, 0);
}

void ImageBitmap::setColour(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    if (m_bits == 24) {
        uint8_t* p = row(y) + size_t(x) * 3;
        p[0] = uint8_t(qBlue(c));
        p[1] = uint8_t(qGreen(c));
        p[2] = uint8_t(qRed(c));
        return;
    }
    const auto& colours = m_palette.empty() ? m_colourTable : m_palette;
    setPixel(x, y, nearestPaletteIndex(colours, qRed(c), qGreen(c), qBlue(c)));
}

QImage ImageBitmap::toQImage() const
{
    if (isNull())
        return {};
    QImage image(m_width, m_height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    std::vector<QRgb> table = m_colourTable;
    if (m_transparent >= 0 && size_t(m_transparent) < table.size())
        table[size_t(m_transparent)] = 0;
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* in = row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (m_bits) {
        case 24:
            for (int x = 0; x < m_width; ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
            break;
        case 8:
            for (int x = 0; x < m_width; ++x)
                out[x] = table[in[x]];
            break;
        case 4:
            for (int x = 0; x < m_width; ++x)
                out[x] = table[(x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4)];
            break;
        case 1:
            for (int x = 0; x < m_width; ++x)
                out[x] = table[(in[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        }
    }
    return image;
}

} // namespace vorpane
