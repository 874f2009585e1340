#pragma once
// The installed font families, as scripts ask for them with sheet.findvalidfont. Needs a
// QGuiApplication (the CLI and the tests have one).

#include <string>
#include <vector>

namespace vorpane {

// Family names in the order the font database reports them (Windows-1252).
std::vector<std::string> installedFontFamilies();

// The first family equal to prefix (case ignored) as the system writes it; else the last family
// that starts with prefix; else "".
std::string findValidFont(const std::string& prefix, const std::vector<std::string>& families);
std::string findValidFont(const std::string& prefix);

// Maps the family names that sheet scripts usually ask for to the installed families that
// match their metrics and look (once per process; later calls do nothing).
void installFontSubstitutions();

} // namespace vorpane
