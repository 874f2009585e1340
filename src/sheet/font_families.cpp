#include "sheet/font_families.h"

#include "platform/cp1252.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace vorpane {

std::vector<std::string> installedFontFamilies()
{
    // The font database needs the application object; without one there is nothing to list.
    if (!QGuiApplication::instance())
        return {};
    // Read once: a script may ask for fonts in a loop.
    static const std::vector<std::string> families = [] {
        std::vector<std::string> names;
        for (const QString& family : QFontDatabase::families())
            names.push_back(toCp1252(family));
        return names;
    }();
    return families;
}

void installFontSubstitutions()
{
    static const bool installed = [] {
        struct Substitute {
            const char* family;
            const char* installed;
        };
        static constexpr Substitute kSubstitutes[] = {
            { "Times New Roman", "Liberation Serif" },
            { "Times", "Liberation Serif" },
            { "Arial", "Liberation Sans" },
            { "Helvetica", "Liberation Sans" },
            { "MS Sans Serif", "Liberation Sans" },
            { "Microsoft Sans Serif", "Liberation Sans" },
            { "Courier New", "Liberation Mono" },
            { "Courier", "Liberation Mono" },
            { "Comic Sans MS", "Comic Neue" },
        };
        for (const Substitute& s : kSubstitutes)
            QFont::insertSubstitution(QString::fromLatin1(s.family), QString::fromLatin1(s.installed));
        return true;
    }();
    (void)installed;
}

namespace {

bool startsWithIgnoringCase(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

std::string findValidFont(const std::string& prefix, const std::vector<std::string>& families)
{
    const QString wanted = fromCp1252(prefix);
    std::string found;
    for (const std::string& family : families) {
        const QString name = fromCp1252(family);
        if (!startsWithIgnoringCase(name, wanted))
            continue;
        found = family;
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            break;
    }
    return found;
}

std::string findValidFont(const std::string& prefix)
{
    return findValidFont(prefix, installedFontFamilies());
}

} // namespace vorpane
