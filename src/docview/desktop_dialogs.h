#pragma once
// The standard dialogs and desktop hand-offs the widgets use: file, font and colour dialogs,
// opening a URL or a file in its program, the beep. One object installed at start-up, like the
// Ui services; tests install ScriptedDialogs so that no real dialog ever waits for a user.

#include <QColor>
#include <QFont>
#include <QFontDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QUrl;
class QWidget;

namespace vorpane {

class DesktopDialogs {
public:
    virtual ~DesktopDialogs() = default;

    // Empty for Cancel.
    virtual QStringList openFileNames(
        QWidget* parent, const QString& caption, const QString& directory, const QString& filter);
    virtual QString openFileName(
        QWidget* parent, const QString& caption, const QString& proposed, const QString& filter);
    // `proposed` is the path shown at first; the dialog asks before overwriting.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
        const QString& filter, const QString& defaultSuffix);
    virtual std::optional<QFont> chooseFont(
        QWidget* parent, const QFont& initial, QFontDialog::FontDialogOptions options);
    // Face, weight and italic only, for a font whose size is not the user's to choose.
    virtual std::optional<QFont> chooseFontFace(QWidget* parent, const QFont& initial);
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial);
    // One of `items` from a list; nothing for Cancel.
    virtual std::optional<QString> chooseItem(
        QWidget* parent, const QString& caption, const QString& label, const QStringList& items);
    // The desktop's handler for the address (browser, mail program). False when none took it.
    virtual bool openUrl(const QUrl& url);
    // Hands the file to the desktop's mail program as the attachment of a new message (xdg-email).
    // False, after a message naming the file, when there is no mail program or it failed.
    virtual bool sendMail(const QString& file, const QString& subject);
    virtual void beep();
};

DesktopDialogs& dialogs();
// Null restores the real dialogs.
void installDialogs(DesktopDialogs* dialogs);

} // namespace vorpane
