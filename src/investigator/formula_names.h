#pragma once
// The names a base formula may use for a characteristic or a derived value ("APA", "SUER",
// "MAGIA"...), with the text the skill dialogs' "Multiplicar por" menu shows for each, in that
// menu's order. Investigator::characteristic() reads the same table.

#include <span>

namespace vorpane {

struct FormulaName {
    const char* name;
    const char* label; // null for a second spelling the menu leaves out ("HIT")
};

std::span<const FormulaName> formulaNames();

} // namespace vorpane
