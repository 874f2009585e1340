#include "platform/ui_services.h"

#include "platform/recording_ui.h"

namespace vorpane {

namespace {

UiServices* g_ui = nullptr;

UiServices& fallbackUi()
{
    static RecordingUi fallback;
    return fallback;
}

} // namespace

UiServices& ui() { return g_ui ? *g_ui : fallbackUi(); }

UiServices* installUi(UiServices* services)
{
    UiServices* previous = g_ui;
    g_ui = services;
    return previous;
}

void showMessage(const std::string& text, const std::string& title, MsgIcon icon)
{
    ui().messageBox(text, title, icon, MsgButtons::Ok);
}

bool askYesNo(const std::string& text, const std::string& title, MsgIcon icon)
{
    return ui().messageBox(text, title, icon, MsgButtons::YesNo) == MsgResult::Yes;
}

MsgResult RecordingUi::messageBox(
    const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons)
{
    boxes.push_back({ text, title, icon, buttons });
    if (buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    if (!answers.empty()) {
        const MsgResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool yes = true;
    if (!yesNoAnswers.empty()) {
        yes = yesNoAnswers.front();
        yesNoAnswers.pop_front();
    }
    if (buttons == MsgButtons::OkCancel)
        return yes ? MsgResult::Ok : MsgResult::Cancel;
    return yes ? MsgResult::Yes : MsgResult::No;
}

std::optional<std::string> RecordingUi::prompt(const std::string& label)
{
    prompts.push_back(label);
    if (promptAnswers.empty())
        return std::nullopt;
    auto answer = promptAnswers.front();
    promptAnswers.pop_front();
    return answer;
}

void RecordingUi::quickInfo(const std::string& key, const std::string& text) { quickInfoKeys.push_back(key); }

void RecordingUi::reset()
{
    boxes.clear();
    prompts.clear();
    quickInfoKeys.clear();
    answers.clear();
    yesNoAnswers.clear();
    promptAnswers.clear();
    statusText.clear();
    statusTexts.clear();
    waitDepth = 0;
    output().clear();
    output().hide();
}

std::string RecordingUi::texts() const
{
    std::string joined;
    for (const Box& box : boxes) {
        if (!joined.empty())
            joined += '\n';
        joined += box.text;
    }
    return joined;
}

} // namespace vorpane
