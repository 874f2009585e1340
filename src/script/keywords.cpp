#include "script/keywords.h"

namespace vorpane::script {

namespace {

constexpr const char* kKeywords[]
    = { "function", "if", "else", "for", "while", "return", "break", "continue", "new", "var" };

} // namespace

std::span<const char* const> keywords() { return kKeywords; }

} // namespace vorpane::script
