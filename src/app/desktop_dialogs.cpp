#include "app/desktop_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace vorpane {

namespace {
DesktopDialogs* g_dialogs = nullptr;
} // namespace

QStringList DesktopDialogs::openFileNames(
    QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
}

QString DesktopDialogs::openFileName(
    QWidget* parent, const QString& caption, const QString& proposed, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, proposed, filter);
}

QString DesktopDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
    const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> DesktopDialogs::chooseFont(
    QWidget* parent, const QFont& initial, QFontDialog::FontDialogOptions options)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent, QString(), options);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> DesktopDialogs::chooseColour(QWidget* parent, const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

bool DesktopDialogs::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void DesktopDialogs::beep() { QApplication::beep(); }

DesktopDialogs& dialogs()
{
    static DesktopDialogs real;
    return g_dialogs ? *g_dialogs : real;
}

void installDialogs(DesktopDialogs* dialogs) { g_dialogs = dialogs; }

} // namespace vorpane
