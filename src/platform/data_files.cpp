#include "platform/data_files.h"

#include "platform/cp1252.h"
#include "platform/program_folder.h"
#include "platform/ui_services.h"

#include <QFileInfo>
#include <mutex>
#include <set>

namespace vorpane {

namespace {

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

std::vector<std::string> dataFolders() { return { programFolder() }; }

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
