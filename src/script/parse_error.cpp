#include "script/parse_error.h"

#include "platform/ui_services.h"
#include "script/error_line.h"
#include "script/error_titles.h"

#include <cstdio>

namespace vorpane::script {

namespace {
thread_local uint64_t t_reports = 0;
} // namespace

uint64_t parseReportCount() { return t_reports; }

void reportParseError(int32_t line, std::string_view message, std::string_view tokenText)
{
    ++t_reports;
    noteScriptError(line);
    std::string text = "Line " + std::to_string(line) + " : ";
    text.append(message);
    text += '\n';
    text.append(tokenText);
    ui().messageBox(text, kScriptErrorTitle, MsgIcon::Warning, MsgButtons::Ok);
}

void failScanner(const char* message)
{
    ++t_reports;
    std::fprintf(stderr, "%s\n", message);
    ui().messageBox(message, kFatalErrorTitle, MsgIcon::Error, MsgButtons::Ok);
    throw ScannerFailure(message);
}

} // namespace vorpane::script
