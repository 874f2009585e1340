#pragma once
// Fonts and colours as the profile stores them: a face, a height (negative: the character height
// in pixels; positive: the cell height), a weight on the 0..1000 scale (0 default, 400 normal,
// 700 bold) and an italic flag; colours as 0x00BBGGRR. The output window, the script editor,
// the sheets and the options sheet all read and write them through here.

#include <QColor>
#include <QFont>
#include <string>

namespace vorpane {

struct StoredFont {
    std::string face; // Windows-1252
    int height = 0;
    int weight = 0;
    bool italic = false;
};

// Screen pixels per inch the stored heights are measured in.
inline constexpr int kStoredFontDpi = 96;

QFont toQFont(const StoredFont& stored);
StoredFont fromQFont(const QFont& font);

// The values prefix + "Face", "Size", "Weight" and "Italic" of a section. Without a size the
// height is `defaultHeight` and "Size" is neither read nor written.
enum class FontSize { Stored, NotStored };
StoredFont readStoredFont(const std::string& section, const std::string& prefix,
    const std::string& defaultFace, int defaultHeight, FontSize size = FontSize::Stored);
void writeStoredFont(const std::string& section, const std::string& prefix, const StoredFont& font,
    FontSize size = FontSize::Stored);

int toColorRef(const QColor& colour);
QColor fromColorRef(int colorRef);

} // namespace vorpane
