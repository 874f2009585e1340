#pragma once
// The desktop tests' world: a profile in a temporary file, the recording Ui and scripted standard
// dialogs installed for the fixture's life and removed on every exit, so that no test waits on a
// real dialog or touches the user's settings; recovery copies go to the temporary folder too.

#include "docview/desktop_dialogs.h"
#include "platform/recording_ui.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <functional>
#include <optional>

namespace vorpane::test {

// Standard dialogs answered from presets; every call is recorded.
class ScriptedDialogs final : public DesktopDialogs {
public:
    // Answers in order; an empty queue answers Cancel.
    std::deque<QStringList> openFiles;
    std::deque<QString> saveNames;
    std::deque<std::optional<QFont>> fonts;
    std::deque<std::optional<QColor>> colours;
    std::deque<QString> choices; // of chooseItem(); an empty one is Cancel
    QList<QStringList> offeredItems; // what each chooseItem() offered
    bool urlsOpen = true; // whether openUrl() succeeds
    bool mailWorks = true; // whether sendMail() succeeds

    QStringList captions; // of every dialog asked for, in order
    QStringList proposedNames; // of the open and save dialogs
    QList<QUrl> openedUrls;
    QStringList mailedFiles;
    int beeps = 0;

    QStringList openFileNames(
        QWidget*, const QString& caption, const QString& directory, const QString& filter) override;
    QString openFileName(
        QWidget*, const QString& caption, const QString& proposed, const QString& filter) override;
    QString saveFileName(QWidget*, const QString& caption, const QString& proposed, const QString& filter,
        const QString& defaultSuffix) override;
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial, QFontDialog::FontDialogOptions) override;
    std::optional<QFont> chooseFontFace(QWidget*, const QFont& initial) override;
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override;
    std::optional<QString> chooseItem(
        QWidget*, const QString& caption, const QString& label, const QStringList& items) override;
    bool openUrl(const QUrl& url) override;
    bool sendMail(const QString& file, const QString& subject) override;
    void beep() override { ++beeps; }
};

class DesktopFixture {
public:
    DesktopFixture();
    ~DesktopFixture();
    DesktopFixture(const DesktopFixture&) = delete;
    DesktopFixture& operator=(const DesktopFixture&) = delete;

    ScopedRecordingUi ui;
    ScriptedDialogs dialogs;

    // A path inside the fixture's temporary folder.
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Copies a file into the temporary folder; returns its new path.
    QString copy(const QString& source, const QString& name = {}) const;

private:
    QTemporaryDir m_dir;
};

// Acts on the modal dialog that opens next, as soon as its event loop runs. A dialog that the act
// leaves open (a failed check inside it returns early), or another modal widget than expected,
// fails the test within kModalFuseMs and closes every modal widget, so that the test ends instead
// of waiting in the dialog's event loop until ctest kills it.
inline constexpr int kModalFuseMs = 10000;
// Records a failure of the running test and closes every modal widget.
void failAndCloseModals(const char* why);
void whenModalShown(std::function<void(QWidget*)> act);
template <typename Dialog> void whenModal(std::function<void(Dialog&)> act)
{
    whenModalShown([act](QWidget* widget) {
        if (auto* dialog = qobject_cast<Dialog*>(widget))
            act(*dialog);
        else
            failAndCloseModals("the modal widget is not the dialog expected");
    });
}

// A file's bytes (empty when it cannot be read), and writing them whole.
QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);

// The controls under a window that the Tab key reaches (shown and enabled) but that tell a screen
// reader no name, as "class objectName"; empty when every one has a name.
QStringList unnamedControls(QWidget* window);

// The data folder of the build (the program folder) and the source tree.
QString dataFile(const QString& name);

} // namespace vorpane::test
