#pragma once
// UiServices for tests: records every box and answers questions and prompts from presets.

#include "platform/ui_services.h"

#include <deque>
#include <vector>

namespace vorpane {

class RecordingUi final : public UiServices {
public:
    struct Box {
        std::string text;
        std::string title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MsgResult messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> prompt(const std::string& label) override;
    bool hasMainWindow() const override { return m_hasMainWindow; }
    void quickInfo(const std::string& key, const std::string& text) override;
    void setStatusText(const std::string& text) override { statusText = text; }

    // Answers for boxes with more than one button, used in order before yesNoAnswers.
    std::deque<MsgResult> answers;
    // Answers for questions, used in order; when none are left, questions are answered yes.
    std::deque<bool> yesNoAnswers;
    // Answers for prompts, used in order; nullopt is Cancel; when none are left, Cancel.
    std::deque<std::optional<std::string>> promptAnswers;

    std::vector<Box> boxes;
    std::vector<std::string> prompts;
    std::vector<std::string> quickInfoKeys;
    std::string statusText;
    bool m_hasMainWindow = true;

    void reset();
    // The box texts joined by line feeds, for compact assertions.
    std::string texts() const;
};

} // namespace vorpane
