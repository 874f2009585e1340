#include "platform/data_files.h"

#include "platform/cp1252.h"
#include "platform/program_folder.h"
#include "platform/ui_services.h"

#include <QFileInfo>
#include <algorithm>
#include <mutex>
#include <set>
#include <sys/stat.h>

namespace vorpane {

namespace {

bool g_userFolderSearched = true;
std::mutex g_refusedMutex;
std::set<std::string> g_refused;

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// What the user sees of a name: control characters would garble the line or the box.
std::string shownName(const std::string& name)
{
    std::string shown = name;
    for (char& c : shown)
        if (isControl(c))
            c = '?';
    return shown;
}

void tellRefused(const std::string& name)
{
    {
        const std::lock_guard lock(g_refusedMutex);
        if (!g_refused.insert(name).second)
            return;
    }
    showMessage(cp1252("Se ha rechazado el nombre de archivo \"") + shownName(name)
            + cp1252("\": un archivo de datos se indica solo por su nombre, sin carpetas, sin \"..\", "
                     "sin unidad y sin caracteres de control. Se trata como un archivo que falta."),
        {}, MsgIcon::Warning);
}

bool isRegularFile(const std::string& path)
{
    const QFileInfo info(QFile::decodeName(path.c_str()));
    return info.isFile();
}

} // namespace

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name.find("..") != std::string_view::npos)
        return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || c == ':' || isControl(c))
            return false;
    return true;
}

std::string userDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QFile::encodeName(QDir::cleanPath(base + QStringLiteral("/vorpane")) + QLatin1Char('/'))
        .toStdString();
}

std::string makeUserDataFolder()
{
    const std::string folder = userDataFolder();
    const QString path = QFile::decodeName(folder.c_str());
    if (QFileInfo(path).isDir())
        return folder;
    // The parent with the user's umask, like any XDG folder; our own folder private.
    const QString parent = QFileInfo(QDir::cleanPath(path)).absolutePath();
    if (QDir().mkpath(parent))
        ::mkdir(QFile::encodeName(QDir::cleanPath(path)).constData(), 0700);
    if (QFileInfo(path).isDir())
        return folder;
    showMessage(cp1252("No se puede crear la carpeta de datos del usuario \"") + shownName(folder) + "\".",
        {}, MsgIcon::Error);
    return {};
}

void setUserDataFolderSearched(bool searched) { g_userFolderSearched = searched; }

std::vector<std::string> dataFolders()
{
    const std::string program = programFolder();
    if (!g_userFolderSearched)
        return { program };
    std::vector<std::string> folders { userDataFolder() };
    if (QFileInfo(QFile::decodeName(program.c_str())).canonicalFilePath()
        != QFileInfo(QFile::decodeName(folders.front().c_str())).canonicalFilePath())
        folders.push_back(program);
    else
        folders.front() = program;
    return folders;
}

std::vector<std::string> dataFiles(const QStringList& patterns, QDir::Filters filters, QDir::SortFlags sort)
{
    std::vector<QString> names;
    std::vector<std::string> paths;
    bool merged = false;
    for (const std::string& folder : dataFolders()) {
        const QDir dir(QFile::decodeName(folder.c_str()));
        const QStringList found = dir.entryList(patterns, filters, sort);
        if (found.isEmpty())
            continue;
        merged = !names.empty();
        for (const QString& name : found) {
            if (std::find(names.begin(), names.end(), name) != names.end())
                continue;
            names.push_back(name);
            paths.push_back(QFile::encodeName(dir.filePath(name)).toStdString());
        }
    }
    if (!merged)
        return paths;
    // Two folders' lists, each in order: one order for the whole, by the same flags.
    const Qt::CaseSensitivity cs = sort.testFlag(QDir::IgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    std::vector<size_t> order(names.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
        [&](size_t a, size_t b) { return QString::compare(names[a], names[b], cs) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (const size_t i : order)
        sorted.push_back(std::move(paths[i]));
    return sorted;
}

std::optional<std::string> resolveDataFile(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    if (!isPlainFileName(name)) {
        tellRefused(name);
        return std::nullopt;
    }
    for (const std::string& folder : dataFolders()) {
        std::string path = folder + name;
        if (isRegularFile(path))
            return path;
    }
    return std::nullopt;
}

std::string dataFilePath(const std::string& name)
{
    if (std::optional<std::string> path = resolveDataFile(name))
        return *path;
    return isPlainFileName(name) ? programFolder() + name : std::string();
}

void forgetRefusedNames()
{
    const std::lock_guard lock(g_refusedMutex);
    g_refused.clear();
}

} // namespace vorpane
