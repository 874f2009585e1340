#include "docview/settings_font.h"

#include "platform/cp1252.h"
#include "platform/stored_font.h"
#include "sheet/font_families.h"

#include <QFontDatabase>

namespace vorpane {

QFont readSettingsFont(const std::string& section, const std::string& defaultFace, int defaultHeight)
{
    installFontSubstitutions();
    StoredFont stored = readStoredFont(section, "Font", defaultFace, defaultHeight);
    const QString face = fromCp1252(stored.face);
    if (!face.isEmpty() && !QFontDatabase::hasFamily(face) && QFont::substitutes(face).isEmpty()) {
        const std::string found = findValidFont(stored.face);
        if (!found.empty())
            stored.face = found;
    }
    return toQFont(stored);
}

} // namespace vorpane
