#include "desktop_fixture.h"

#include "platform/profile.h"
#include "shell/recovery.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace vorpane::test {

namespace {

template <typename T> T take(std::deque<T>& answers, T otherwise = {})
{
    if (answers.empty())
        return otherwise;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

QStringList ScriptedDialogs::openFileNames(
    QWidget*, const QString& caption, const QString& directory, const QString&)
{
    captions << caption;
    proposedNames << directory;
    return take(openFiles);
}

QString ScriptedDialogs::openFileName(
    QWidget*, const QString& caption, const QString& proposed, const QString&)
{
    captions << caption;
    proposedNames << proposed;
    const QStringList files = take(openFiles);
    return files.isEmpty() ? QString() : files.constFirst();
}

QString ScriptedDialogs::saveFileName(
    QWidget*, const QString& caption, const QString& proposed, const QString&, const QString&)
{
    captions << caption;
    proposedNames << proposed;
    return take(saveNames);
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont&, QFontDialog::FontDialogOptions)
{
    captions << QStringLiteral("font");
    return take(fonts);
}

std::optional<QFont> ScriptedDialogs::chooseFontFace(QWidget*, const QFont&)
{
    captions << QStringLiteral("font face");
    return take(fonts);
}

std::optional<QColor> ScriptedDialogs::chooseColour(QWidget*, const QColor&)
{
    captions << QStringLiteral("colour");
    return take(colours);
}

std::optional<QString> ScriptedDialogs::chooseItem(
    QWidget*, const QString& caption, const QString&, const QStringList& items)
{
    captions << caption;
    offeredItems << items;
    const QString choice = take(choices);
    if (choice.isEmpty())
        return std::nullopt;
    return choice;
}

bool ScriptedDialogs::openUrl(const QUrl& url)
{
    openedUrls << url;
    return urlsOpen;
}

bool ScriptedDialogs::sendMail(const QString& file, const QString&)
{
    mailedFiles << file;
    return mailWorks;
}

DesktopFixture::DesktopFixture()
{
    QStandardPaths::setTestModeEnabled(true);
    setProfilePath(path(QStringLiteral("settings.ini")).toStdString());
    RecoveryManager::setRootFolder(path(QStringLiteral("recovery")));
    installDialogs(&dialogs);
}

DesktopFixture::~DesktopFixture()
{
    installDialogs(nullptr);
    RecoveryManager::setRootFolder({});
    setProfilePath({});
}

QString DesktopFixture::copy(const QString& source, const QString& name) const
{
    const QString target = path(name.isEmpty() ? QFileInfo(source).fileName() : name);
    QFile::remove(target);
    QFile::copy(source, target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

void failAndCloseModals(const char* why)
{
    QTest::qFail(why, __FILE__, __LINE__);
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            modal->hide();
    }
}

void whenModalShown(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) {
            QTest::qFail("no modal dialog opened", __FILE__, __LINE__);
            return;
        }
        act(modal);
        if (modal && modal->isVisible()) {
            QTimer::singleShot(kModalFuseMs, [modal] {
                if (modal && modal->isVisible())
                    failAndCloseModals("a modal dialog was still open after it was answered");
            });
        }
    });
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString dataFile(const QString& name)
{
    return QDir(qEnvironmentVariable("VORPANE_SOURCE_DIR")).filePath(QStringLiteral("data/") + name);
}

QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // Only what the keyboard reaches; a widget with a focus proxy hands the focus on.
        if (!(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy() || !widget->isVisibleTo(window)
            || !widget->isEnabled())
            continue;
        // A spin box's or combo box's own line edit speaks through its owner.
        if (qobject_cast<QAbstractSpinBox*>(widget->parentWidget())
            || qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        if (iface && iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 %2").arg(widget->metaObject()->className(), widget->objectName());
    }
    return unnamed;
}

} // namespace vorpane::test
