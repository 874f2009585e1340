#include "image/image.h"

#include "image/bmp_reader.h"
#include "image/gif_decoder.h"
#include "image/image_limits.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "platform/cp1252.h"
#include "platform/whole_file.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <array>
#include <string_view>

namespace vorpane {

namespace {

struct Extension {
    std::string_view name; // upper case, sorted
    ImageFormat format;
};

// "JPEG" is here too: the image file dialog offers such files, so they must load.
constexpr std::array<Extension, 6> kExtensions = { {
    { "BMP", ImageFormat::Bmp },
    { "GIF", ImageFormat::Gif },
    { "JPEG", ImageFormat::Jpg },
    { "JPG", ImageFormat::Jpg },
    { "PNG", ImageFormat::Png },
    { "XPM", ImageFormat::Xpm },
} };

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

} // namespace

ImageFormat Image::formatForFileName(const std::string& fileName)
{
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos)
        return ImageFormat::Unknown;
    const std::string ext = upper(std::string_view(fileName).substr(dot + 1));
    const auto it = std::lower_bound(kExtensions.begin(), kExtensions.end(), ext,
        [](const Extension& e, const std::string& key) { return e.name < key; });
    return it != kExtensions.end() && it->name == ext ? it->format : ImageFormat::Unknown;
}

bool readImageFile(const std::string& fileName, std::string& bytes)
{
    return readWholeFile(
               QFile::encodeName(fromCp1252(fileName)).toStdString(), size_t(kMaxImageFileBytes), bytes)
        == ReadFailure::None;
}

bool Image::load(const std::string& fileName)
{
    m_bitmap.clear();
    m_fileName = fileName;
    m_format = formatForFileName(fileName);
    if (m_format == ImageFormat::Unknown || m_format == ImageFormat::Xpm)
        return false;
    std::string bytes;
    if (!readImageFile(fileName, bytes))
        return false;
    return loadData(m_format, byteSpan(bytes));
}

bool Image::loadData(ImageFormat format, std::span<const uint8_t> data)
{
    m_format = format;
    m_bitmap.clear();
    switch (format) {
    case ImageFormat::Bmp:
        readBmp(data, m_bitmap);
        break;
    case ImageFormat::Gif:
        readGif(data, m_bitmap);
        break;
    case ImageFormat::Jpg:
        readJpeg(data, m_bitmap);
        break;
    case ImageFormat::Png:
        readPng(data, m_bitmap);
        break;
    case ImageFormat::Xpm:
    case ImageFormat::Unknown:
        break;
    }
    return !m_bitmap.isNull();
}

void Image::draw(QPainter& painter, const QRectF& destination, const QRect& source) const
{
    if (isNull())
        return;
    const QRect whole(0, 0, width(), height());
    const QRect from = source.isNull() ? whole : source.intersected(whole);
    if (from.isEmpty())
        return;
    drawStretched(painter, destination, toQImage(), from);
}

void Image::draw(QPainter& painter, int x, int y, int w, int h, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight) const
{
    const int dw = w == -1 ? width() : w;
    const int dh = h == -1 ? height() : h;
    const int64_t sw = sourceWidth == -1 ? width() : sourceWidth;
    const int64_t sh = sourceHeight == -1 ? height() : sourceHeight;
    // Only the part that lies on the picture is drawn; keep the edges in range of int.
    const auto clampSide
        = [](int64_t v) { return int(std::clamp<int64_t>(v, -kMaxImageSide, kMaxImageSide)); };
    draw(painter, QRectF(x, y, dw, dh),
        QRect(clampSide(sourceX), clampSide(sourceY), clampSide(sw), clampSide(sh)));
}

} // namespace vorpane
