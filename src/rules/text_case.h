#pragma once
// Case-insensitive comparison of Windows-1252 texts, and the lookup key of skill, weapon and
// occupation names (which ignore case and leading '*' characters, the mark of entries that
// pickers hide). Accented letters fold too, so "ÁLGEBRA" and "álgebra" are the same name.

#include <string>
#include <string_view>

namespace vorpane {

char foldCase(char c);

bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Whether text begins with prefix, ignoring case.
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);

std::string foldedCopy(std::string_view text);

std::string_view skipLeadingStars(std::string_view name);

// The form under which names are hashed and compared: lower case, leading '*' removed.
std::string nameKey(std::string_view name);

// Equality of two names as lookups see it: ignoring case and leading '*' on both sides.
bool sameName(std::string_view a, std::string_view b);

} // namespace vorpane
