#include "app/profile_font.h"

#include "platform/cp1252.h"
#include "platform/profile.h"
#include "sheet/font_families.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace vorpane {

namespace {

// Windows weights run from 1 to 1000 like Qt's.
constexpr int kMaxWeight = 1000;

QString installedFace(const QString& face)
{
    installFontSubstitutions();
    if (face.isEmpty() || QFontDatabase::hasFamily(face) || !QFont::substitutes(face).isEmpty())
        return face;
    const std::string found = findValidFont(toCp1252(face));
    return found.empty() ? face : fromCp1252(found);
}

} // namespace

QFont profileFont(const QString& face, int height, int weight, bool italic)
{
    QFont font(installedFace(face));
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // The cell holds the leading as well: scale the character height so the cell fits.
        font.setPixelSize(height);
        const QFontMetrics metrics(font);
        const int cell = metrics.ascent() + metrics.descent();
        if (cell > height)
            font.setPixelSize(std::max(1, int(std::lround(double(height) * height / cell))));
    }
    if (weight > 0)
        font.setWeight(QFont::Weight(std::clamp(weight, 1, kMaxWeight)));
    font.setItalic(italic);
    return font;
}

int profileFontHeight(const QFont& font)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    // A size in points: pixels at the screen's resolution.
    const double dpi
        = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->logicalDotsPerInchY() : 96.0;
    return -std::max(1, int(std::lround(font.pointSizeF() * dpi / 72.0)));
}

QFont readProfileFont(
    const std::string& section, const std::string& prefix, const ProfileFontDefaults& defaults)
{
    const std::string face = Profile::readString(section, prefix + "Face", defaults.face);
    const int height = Profile::readInt(section, prefix + "Size", defaults.height);
    const int weight = Profile::readInt(section, prefix + "Weight", defaults.weight);
    const int italic = Profile::readInt(section, prefix + "Italic", 0);
    return profileFont(fromCp1252(face), height, weight, italic != 0);
}

void writeProfileFont(const std::string& section, const std::string& prefix, const QFont& font)
{
    Profile::writeString(section, prefix + "Face", toCp1252(font.family()));
    Profile::writeInt(section, prefix + "Size", profileFontHeight(font));
    Profile::writeInt(section, prefix + "Weight", font.weight());
    Profile::writeInt(section, prefix + "Italic", font.italic() ? 1 : 0);
}

QColor colourFromRef(int ref)
{
    const auto bits = uint32_t(ref);
    return QColor(int(bits & 0xff), int((bits >> 8) & 0xff), int((bits >> 16) & 0xff));
}

int colourRef(const QColor& colour)
{
    return int(uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16);
}

QColor readProfileColour(const std::string& section, const std::string& name, const QColor& fallback)
{
    return colourFromRef(Profile::readInt(section, name, colourRef(fallback)));
}

} // namespace vorpane
