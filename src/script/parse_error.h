#pragma once
// The one reporter of the script front end: lexical and grammar errors go to a "Script Error" box,
// failures of the scanner's own machinery to a "Fatal Error" box.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorpane::script {

// "Line %d : %s\n%s" with the line, the message and the current token text, warning icon.
void reportParseError(int32_t line, std::string_view message, std::string_view tokenText);

// How many reports the front end has made on this thread: a parse that made none can be reused
// without a difference anybody sees.
uint64_t parseReportCount();

// Thrown after a scanner failure has been reported; the parse that met it yields no program.
struct ScannerFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reports a failure of the scanner's buffer machinery (error icon, and a line on standard error),
// then throws ScannerFailure: the scanner cannot go on after one.
[[noreturn]] void failScanner(const char* message);

} // namespace vorpane::script
