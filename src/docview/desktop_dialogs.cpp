#include "docview/desktop_dialogs.h"

#include "docview/font_face_dialog.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QProcess>
#include <QStandardPaths>
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

std::optional<QString> DesktopDialogs::chooseItem(
    QWidget* parent, const QString& caption, const QString& label, const QStringList& items)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    if (dialog.exec() != QDialog::Accepted || !items.contains(dialog.textValue()))
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QFont> DesktopDialogs::chooseFontFace(QWidget* parent, const QFont& initial)
{
    FontFaceDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFont();
}

std::optional<QColor> DesktopDialogs::chooseColour(QWidget* parent, const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

bool DesktopDialogs::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool DesktopDialogs::sendMail(const QString& file, const QString& subject)
{
    // By value: the failure of a started program is reported after this returns.
    const auto fail = [file](const char* why) {
        showMessage(toCp1252(QApplication::translate("DesktopDialogs", why) + QStringLiteral("\n\n")
            + QApplication::translate("DesktopDialogs", "Adjunta a mano el archivo:\n%1").arg(file)));
        return false;
    };
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return fail(QT_TRANSLATE_NOOP("DesktopDialogs",
            "No hay ningún programa de correo disponible: falta «xdg-email», del paquete xdg-utils."));
    // xdg-email returns once the mail program has the message, or at once with a failure.
    auto* process = new QProcess(QApplication::instance());
    QObject::connect(
        process, &QProcess::finished, process, [process, fail](int code, QProcess::ExitStatus status) {
            process->deleteLater();
            if (status != QProcess::NormalExit || code != 0)
                fail(QT_TRANSLATE_NOOP(
                    "DesktopDialogs", "El programa de correo no pudo preparar el mensaje."));
        });
    process->start(program, { QStringLiteral("--subject"), subject, QStringLiteral("--attach"), file });
    if (!process->waitForStarted()) {
        process->deleteLater();
        return fail(QT_TRANSLATE_NOOP("DesktopDialogs", "No se pudo iniciar el programa de correo."));
    }
    return true;
}

void DesktopDialogs::beep() { QApplication::beep(); }

DesktopDialogs& dialogs()
{
    static DesktopDialogs real;
    return g_dialogs ? *g_dialogs : real;
}

void installDialogs(DesktopDialogs* dialogs) { g_dialogs = dialogs; }

} // namespace vorpane
