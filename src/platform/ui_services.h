#pragma once
// Everything the core shows or asks goes through one UiServices object installed at start-up:
// the desktop shows Qt dialogs owned by the main window, vorpane-cli prints, tests record.
// All texts are Windows-1252 bytes.

#include "platform/output_model.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vorpane {

// The longest answer a prompt gives: the prompt dialog's entry limit.
constexpr size_t kPromptLimit = 255;

enum class MsgIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo: Yes and No with No as the default button, for questions whose Yes loses something.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgResult { Ok, Cancel, Yes, No };

class UiServices {
public:
    virtual ~UiServices() = default;

    // A modal message box. An empty title shows the application's name.
    virtual MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons)
        = 0;

    // The script prompt dialog; nullopt for Cancel or closing. At most kPromptLimit characters.
    virtual std::optional<std::string> prompt(const std::string& label) = 0;

    // Whether a main window exists (the script "prompt" function needs one).
    virtual bool hasMainWindow() const = 0;

    // A one-time hint keyed in the profile section "QuickInfo"; the headless tool ignores it.
    virtual void quickInfo(const std::string& key, const std::string& text) { }

    virtual void setStatusText(const std::string& text) { }
    virtual void beginWaitCursor() { }
    virtual void endWaitCursor() { }

    OutputModel& output() { return m_output; }

private:
    OutputModel m_output;
};

// The installed services. Before anything is installed a recording implementation answers, so
// library code never dereferences nothing.
UiServices& ui();
// Installs services (null: none) and returns what was installed before.
UiServices* installUi(UiServices* services);

// Shorthands for the common boxes.
void showMessage(const std::string& text, const std::string& title = {}, MsgIcon icon = MsgIcon::Warning);
bool askYesNo(const std::string& text, const std::string& title = {}, MsgIcon icon = MsgIcon::Question);

} // namespace vorpane
