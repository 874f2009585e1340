#pragma once
// UiServices of vorpane-cli: boxes become "[Title] text" lines on standard output, questions are
// answered from --answer, prompts read a line from standard input, output lines print as written.

#include "platform/ui_services.h"

namespace vorpane::cli {

class HeadlessUi final : public UiServices, private OutputModel::Listener {
public:
    HeadlessUi();
    ~HeadlessUi() override;

    void setAnswer(bool yes) { m_answerYes = yes; }

    MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override;
    std::optional<std::string> prompt(const std::string& label) override;
    bool hasMainWindow() const override { return true; }

    // The printed form of a box: line feeds as the two characters \n, carriage returns dropped.
    static std::string boxLine(const std::string& text, const std::string& title);

private:
    void lineAdded(const std::string& line) override;

    bool m_answerYes = true;
};

} // namespace vorpane::cli
