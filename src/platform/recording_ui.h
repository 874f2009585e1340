#pragma once
// UiServices for tests, fuzz targets and benchmarks: records every box and status text and
// answers questions and prompts from presets. ScopedRecordingUi is the one way they install it.

#include "platform/ui_services.h"

#include <deque>
#include <vector>

namespace vorpane {

class RecordingUi : public UiServices {
public:
    struct Box {
        std::string text;
        std::string title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override;
    std::optional<std::string> prompt(const std::string& label) override;
    bool hasMainWindow() const override { return m_hasMainWindow; }
    void quickInfo(const std::string& key, const std::string& text) override;
    void setStatusText(const std::string& text) override
    {
        statusText = text;
        statusTexts.push_back(text);
    }
    void beginWaitCursor() override { ++waitDepth; }
    void endWaitCursor() override { --waitDepth; }

    // Answers for boxes with more than one button, used in order before yesNoAnswers.
    std::deque<MsgResult> answers;
    // Answers for questions, used in order; when none are left, questions are answered yes.
    std::deque<bool> yesNoAnswers;
    // Answers for prompts, used in order; nullopt is Cancel; when none are left, Cancel.
    std::deque<std::optional<std::string>> promptAnswers;

    std::vector<Box> boxes;
    std::vector<std::string> prompts;
    std::vector<std::string> quickInfoKeys;
    std::string statusText; // the last one
    std::vector<std::string> statusTexts; // all, in order
    int waitDepth = 0; // wait cursors begun and not ended
    bool m_hasMainWindow = true;

    // Forgets everything recorded and every preset answer; empties and hides the output.
    void reset();
    // The box texts joined by line feeds, for compact assertions.
    std::string texts() const;
};

// A RecordingUi that installs itself for as long as it lives and puts back what was installed
// before on every way out of its scope, a failed check that returns early included.
class ScopedRecordingUi final : public RecordingUi {
public:
    ScopedRecordingUi()
        : m_previous(installUi(this))
    {
    }
    ~ScopedRecordingUi() override { installUi(m_previous); }
    ScopedRecordingUi(const ScopedRecordingUi&) = delete;
    ScopedRecordingUi& operator=(const ScopedRecordingUi&) = delete;

private:
    UiServices* m_previous;
};

} // namespace vorpane
