#pragma once
// The HTML export: a one-page summary of an investigator (personal data, characteristics with
// their derived rolls, every skill and weapon with its percentage) in a fixed layout, as
// Windows-1252 text with CR LF line ends. Every text the user typed is HTML-escaped (& < > ").

#include <string>
#include <string_view>

namespace vorpane {

class Investigator;

// & < > " as entities; everything else unchanged.
std::string htmlEscape(std::string_view text);

// The page. bases55: the "V5.5Base" setting (a skill whose Base is exactly "0" shows one more).
std::string htmlExportText(const Investigator& inv, bool bases55);

// Writes the page, with "V5.5Base" read from the profile, through a file that replaces path only
// once complete. On failure shows "Could not open file for output!" and returns false.
bool exportHtml(const std::string& path, const Investigator& inv);

} // namespace vorpane
