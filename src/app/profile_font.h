#pragma once
// Fonts and colours as the profile stores them. A font is four values named by a prefix and the
// suffixes "Face", "Size", "Weight" and "Italic": the face, the height (negative: the characters'
// height in pixels; positive: the whole cell's; 0: the face's usual size), the weight (0 the
// usual one, else 1 to 1000) and the italic flag. A colour is 0x00BBGGRR.

#include <QColor>
#include <QFont>
#include <string>

namespace vorpane {

struct ProfileFontDefaults {
    const char* face;
    int height;
    int weight;
};

// Reads the font of `section`; a face that is not installed becomes the installed face the
// sheets use in its place (Windows faces), else the first installed face it begins with.
QFont readProfileFont(
    const std::string& section, const std::string& prefix, const ProfileFontDefaults& defaults);
// Writes the four values; the height as the negative character height in pixels.
void writeProfileFont(const std::string& section, const std::string& prefix, const QFont& font);

// A font from the stored values.
QFont profileFont(const QString& face, int height, int weight, bool italic);
// The stored height of a font: minus its pixel size.
int profileFontHeight(const QFont& font);

QColor colourFromRef(int colourRef);
int colourRef(const QColor& colour);
// Reads a colour; `fallback` when the value is missing.
QColor readProfileColour(const std::string& section, const std::string& name, const QColor& fallback);

} // namespace vorpane
