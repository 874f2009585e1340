#include "shell/desktop_ui.h"

#include "platform/cp1252.h"
#include "shell/main_frame.h"
#include "widgets/prompt_dialog.h"
#include "widgets/quick_info_dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace vorpane {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

MsgResult DesktopUi::messageBox(
    const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(qtIcon(icon), title.empty() ? QStringLiteral("Vorpane") : fromCp1252(title),
        fromCp1252(text), qtButtons(buttons), m_mainWindow);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == MsgButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo ? MsgResult::No
                                                                                     : MsgResult::Ok;
    }
}

std::optional<std::string> DesktopUi::prompt(const std::string& label)
{
    PromptDialog dialog(fromCp1252(label), m_mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return toCp1252(dialog.text());
}

void DesktopUi::quickInfo(const std::string& key, const std::string& text)
{
    QuickInfoDialog::showOnce(key, fromCp1252(text), m_mainWindow);
}

void DesktopUi::setStatusText(const std::string& text)
{
    if (CMainFrame* frame = CMainFrame::instance())
        frame->setStatusMessage(fromCp1252(text));
}

void DesktopUi::beginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void DesktopUi::endWaitCursor() { QApplication::restoreOverrideCursor(); }

} // namespace vorpane
