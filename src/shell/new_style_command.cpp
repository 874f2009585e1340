#include "shell/new_style_command.h"

#include "docview/desktop_dialogs.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "docview/document_view.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "sheet/sheet_script.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace vorpane {

namespace {

constexpr const char* kCaption = "Nueva hoja a partir de...";

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Copies the file's bytes to a new file at `target`, never over an existing one.
bool copyBytes(const std::string& source, const std::string& target)
{
    std::string bytes;
    const ReadFailure failure = readWholeFile(source, kMaxScriptFileBytes, bytes);
    if (failure != ReadFailure::None && failure != ReadFailure::Empty) {
        showMessage(readFailureMessage(failure, "No se puede leer el estilo de partida") + ": " + source, {},
            MsgIcon::Error);
        return false;
    }
    QFile file(QFile::decodeName(target.c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        showMessage(cp1252("No se puede crear el archivo ") + target, {}, MsgIcon::Error);
        return false;
    }
    const bool written
        = file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        showMessage(cp1252("No se puede escribir el archivo ") + target, {}, MsgIcon::Error);
        return false;
    }
    return true;
}

} // namespace

std::string NewStyleCommand::refusal(const std::string& name, const std::string& extension)
{
    if (name.empty())
        return cp1252("Escriba un nombre para el nuevo estilo.");
    // Plain ASCII: the style lists show file names as they are on the disk.
    bool plain = isPlainFileName(name + "." + extension) && name.front() != '.';
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || std::string_view("*?\"<>|").find(c) != std::string_view::npos)
            plain = false;
    }
    if (!plain)
        return cp1252("El nombre \"") + name
            + cp1252("\" no sirve: escriba solo un nombre de archivo, sin carpetas, sin \"..\", sin punto "
                     "al principio, sin acentos ni eñes y sin los caracteres \\ / : * ? \" < > |.");
    if (resolveDataFile(name + "." + extension))
        return cp1252("Ya existe un estilo llamado \"") + name + cp1252("\". Escriba otro nombre.");
    return {};
}

QString NewStyleCommand::run(DocumentManager& documents, QWidget* parent)
{
    QStringList items;
    for (const char* extension : { kSheetScriptExtension, kHandoutScriptExtension }) {
        for (const std::string& name : sheetScriptNames(extension))
            items << QFile::decodeName(name.c_str()) + QLatin1Char('.') + QLatin1String(extension);
    }
    if (items.isEmpty()) {
        showMessage(cp1252("No hay ningún estilo de hoja (*.vis) ni de ayuda (*.vhs) que copiar."));
        return {};
    }
    const std::optional<QString> chosen = dialogs().chooseItem(parent, QString::fromUtf8(kCaption),
        QStringLiteral("Estilo que se copia (hojas .vis, ayudas .vhs):"), items);
    if (!chosen)
        return {};
    const std::string sourceName = QFile::encodeName(*chosen).toStdString();
    const std::string extension = QFileInfo(*chosen).suffix().toStdString();
    const std::optional<std::string> source = resolveDataFile(sourceName);
    if (!source) {
        showMessage(cp1252("El estilo \"") + toCp1252(*chosen) + cp1252("\" ya no existe."));
        return {};
    }

    std::string name;
    for (;;) {
        const std::optional<std::string> answer = ui().prompt(cp1252("Nombre del nuevo estilo:"));
        if (!answer)
            return {};
        name = scriptNameWithoutExtension(trimmed(*answer), extension);
        const std::string why = refusal(name, extension);
        if (why.empty())
            break;
        showMessage(why);
    }

    const std::string folder = makeUserDataFolder();
    if (folder.empty())
        return {};
    const std::string target = folder + name + "." + extension;
    if (!copyBytes(*source, target))
        return {};

    const QString path = QFile::decodeName(target.c_str());
    // Every sheet view: the new style joins its list.
    for (Document* document : documents.documents()) {
        for (DocumentView* view : document->views())
            view->scriptFileSaved(path);
    }
    documents.openDocumentFile(path);
    return path;
}

} // namespace vorpane
