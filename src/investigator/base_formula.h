#pragma once
// BaseFormula: a definition's Base text, read left to right, as a value for one investigator and
// as the text shown on sheets, in dialogs and in exports.
//
//   ^NAME     adds characteristic NAME and marks that one was seen
//   digits    multiplies once a characteristic was seen, else replaces the value
//   %skill%   adds that skill's current value
//   anything else is skipped
//
// So "05" is 5, "^DES2" and "^DES*2" are 2 x DES, "10^DES" is 10 + DES, "^FUE^TAM" is FUE + TAM.

#include <string>
#include <string_view>

namespace vorpane {

class Investigator;

struct BaseFormula {
    // The value for inv; kFormulaError (-666) after one message box for an unknown characteristic
    // or skill.
    static int value(std::string_view base, const Investigator& inv);

    // Display form: "05", "DESx2", "EDUx5", "FUE+TAM", "10+DES"; a plain number gets "%" when
    // percent is set. With bases55 a bare "0" shows as "01" (unless the Base starts with '*').
    static std::string text(std::string_view base, bool bases55, bool percent);
};

} // namespace vorpane
