#pragma once
// UiServices of the desktop: Qt message boxes and the prompt dialog, owned by the main window.

#include "platform/ui_services.h"

class QWidget;

namespace vorpane {

class DesktopUi final : public UiServices {
public:
    explicit DesktopUi(QWidget* mainWindow = nullptr)
        : m_mainWindow(mainWindow)
    {
    }

    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override;
    std::optional<std::string> prompt(const std::string& label) override;
    bool hasMainWindow() const override { return m_mainWindow != nullptr; }
    void quickInfo(const std::string& key, const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    QWidget* m_mainWindow;
};

} // namespace vorpane
