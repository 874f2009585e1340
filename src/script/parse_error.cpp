#include "script/parse_error.h"

#include "platform/ui_services.h"
#include "script/error_line.h"
#include "script/error_titles.h"

#include <cstdio>

namespace vorpane::script {

void reportParseError(int32_t line, std::string_view message, std::string_view tokenText)
{
    noteScriptError(line);
    std::string text = "Line " + std::to_string(line) + " : ";
    text.append(message);
    text += '\n';
    text.append(tokenText);
    ui().messageBox(text, kScriptErrorTitle, MsgIcon::Warning, MsgButtons::Ok);
}

void failScanner(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    ui().messageBox(message, kFatalErrorTitle, MsgIcon::Error, MsgButtons::Ok);
    throw ScannerFailure(message);
}

} // namespace vorpane::script
