#pragma once
// The reserved words of the script language, as lexer.l matches them: what an editor colours as
// keywords. A word added to the lexer is added here too (the script tests compare the two).

#include <span>

namespace vorpane::script {

std::span<const char* const> keywords();

} // namespace vorpane::script
