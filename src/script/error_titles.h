#pragma once
// Titles of the boxes that report errors of scripts: the parser's, the interpreter's and those of
// host objects.

namespace vorpane::script {

inline constexpr const char* kScriptErrorTitle = "Script Error";
// The scanner's own machinery failed.
inline constexpr const char* kFatalErrorTitle = "Fatal Error";

} // namespace vorpane::script
