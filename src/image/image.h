#pragma once
// Image: a picture file loaded by the program's own image component. The reader is picked by
// the file's extension (case ignored): BMP and GIF by our own readers, JPG (and JPEG) through
// libjpeg, PNG through libpng; XPM is known but has no reader. A load that fails for any reason
// leaves an empty image (width and height 0) that draws nothing; no message is shown.

#include "image/image_bitmap.h"

#include <QImage>
#include <QRect>
#include <cstdint>
#include <span>
#include <string>

class QPainter;

namespace vorpane {

enum class ImageFormat { Unknown = -1, Bmp = 0, Jpg = 1, Gif = 2, Xpm = 3, Png = 4 };

// What the image file dialog of picture fields offers: pairs of description and patterns
// separated by '|', and its default extension.
constexpr const char* kImageFileFilter
    = "Image Files|*.bmp;*.gif;*.jpg;*.jpeg;*.png|Bitmap Files (*.BMP)|*.bmp|CompuServe GIF Files "
      "(*.GIF)|*.gif|"
      "JPEG Files (*.JPG)|*.jpg;*.jpeg|Portable Network Graphics Files (*.PNG)|*.png|All Files (*.*)|*.*||";
constexpr const char* kImageDefaultExtension = "bmp";

class Image {
public:
    Image() = default;
    // Loads `fileName` (Windows-1252) at once, as the rest of the program expects.
    explicit Image(const std::string& fileName) { load(fileName); }

    // True when the file decoded into a picture of positive size.
    bool load(const std::string& fileName);
    // Decodes bytes as the given format (what load() does after reading the file).
    bool loadData(ImageFormat format, std::span<const uint8_t> data);

    static ImageFormat formatForFileName(const std::string& fileName);

    bool isNull() const { return m_bitmap.isNull(); }
    ImageFormat format() const { return m_format; }
    const std::string& fileName() const { return m_fileName; }
    int width() const { return m_bitmap.width(); }
    int height() const { return m_bitmap.height(); }
    int bitsPerPixel() const { return m_bitmap.bitsPerPixel(); }
    bool hasPalette() const { return m_bitmap.hasPalette(); }
    const ImageBitmap& bitmap() const { return m_bitmap; }
    ImageBitmap& bitmap() { return m_bitmap; }

    // Stretches the picture (or the part `source` of it, top-down pixel coordinates; a null
    // rectangle is all of it) into `destination` without smoothing; the transparent index shows
    // what is underneath. The image's top row goes to destination.top() even when the height is
    // negative, so surfaces whose y axis points up get the picture the right way round.
    void draw(QPainter& painter, const QRectF& destination, const QRect& source = QRect()) const;
    // The same with separate values; -1 for a size means the picture's own size.
    void draw(QPainter& painter, int x, int y, int width = -1, int height = -1, int sourceX = 0,
        int sourceY = 0, int sourceWidth = -1, int sourceHeight = -1) const;

    // ARGB copy with the transparent index as alpha 0; null for an empty image.
    QImage toQImage() const { return m_bitmap.toQImage(); }

private:
    ImageFormat m_format = ImageFormat::Unknown;
    std::string m_fileName;
    ImageBitmap m_bitmap;
};

// Reads a picture file (a Windows-1252 name) whole, refusing ones larger than kMaxImageFileBytes.
// False when it cannot.
bool readImageFile(const std::string& fileName, std::string& bytes);

// The bytes of a file as the decoders take them.
inline std::span<const uint8_t> byteSpan(const std::string& bytes)
{
    return { reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() };
}

} // namespace vorpane
