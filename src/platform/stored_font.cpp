#include "platform/stored_font.h"

#include "platform/cp1252.h"
#include "platform/profile.h"

#include <algorithm>
#include <cmath>

namespace vorpane {

QFont toQFont(const StoredFont& stored)
{
    QFont font(fromCp1252(stored.face));
    // A cell height holds the character and its leading; the pixel size stands for both.
    const int pixels = std::abs(stored.height);
    if (pixels > 0)
        font.setPixelSize(pixels);
    if (stored.weight > 0)
        font.setWeight(QFont::Weight(std::clamp(stored.weight, 1, 1000)));
    font.setItalic(stored.italic);
    return font;
}

StoredFont fromQFont(const QFont& font)
{
    StoredFont stored;
    stored.face = toCp1252(font.family());
    const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                            : int(std::lround(font.pointSizeF() * kStoredFontDpi / 72.0));
    stored.height = -std::max(pixels, 1);
    stored.weight = font.weight();
    stored.italic = font.italic();
    return stored;
}

StoredFont readStoredFont(const std::string& section, const std::string& prefix,
    const std::string& defaultFace, int defaultHeight, FontSize size)
{
    StoredFont font;
    font.italic = Profile::readInt(section, prefix + "Italic", 0) != 0;
    font.weight = Profile::readInt(section, prefix + "Weight", 0);
    font.face = Profile::readString(section, prefix + "Face", defaultFace);
    font.height = size == FontSize::Stored ? Profile::readInt(section, prefix + "Size", defaultHeight)
                                           : defaultHeight;
    return font;
}

void writeStoredFont(
    const std::string& section, const std::string& prefix, const StoredFont& font, FontSize size)
{
    Profile::writeInt(section, prefix + "Italic", font.italic ? 1 : 0);
    Profile::writeInt(section, prefix + "Weight", font.weight);
    Profile::writeString(section, prefix + "Face", font.face);
    if (size == FontSize::Stored)
        Profile::writeInt(section, prefix + "Size", font.height);
}

int toColorRef(const QColor& colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

QColor fromColorRef(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

} // namespace vorpane
