#include "cli/headless_ui.h"

#include "cli/cli_command.h"
#include "platform/cp1252.h"

#include <iostream>

namespace vorpane::cli {

HeadlessUi::HeadlessUi() { output().setListener(this); }

HeadlessUi::~HeadlessUi() { output().setListener(nullptr); }

std::string HeadlessUi::boxLine(const std::string& text, const std::string& title)
{
    std::string line = "[" + (title.empty() ? std::string("Vorpane") : title) + "] ";
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

MsgResult HeadlessUi::messageBox(
    const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons)
{
    printLine(cp1252ToUtf8(boxLine(text, title)));
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::OkCancel:
        return m_answerYes ? MsgResult::Ok : MsgResult::Cancel;
    default:
        return m_answerYes ? MsgResult::Yes : MsgResult::No;
    }
}

std::optional<std::string> HeadlessUi::prompt(const std::string& label)
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::string text = toCp1252(QString::fromUtf8(line.c_str()));
    if (text.size() > kPromptLimit)
        text.resize(kPromptLimit);
    return text;
}

void HeadlessUi::lineAdded(const std::string& line) { printLine(cp1252ToUtf8(line)); }

} // namespace vorpane::cli
