#include "platform/private_folder.h"

#include <QDir>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vorpane {

std::string checkedPrivateFolder(const std::string& path)
{
    if (path.empty())
        return {};
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat info { };
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()
        || (info.st_mode & 077) != 0)
        return {};
    return path;
}

std::string userRuntimeFolder()
{
    const QByteArray given = qgetenv("XDG_RUNTIME_DIR");
    if (!given.isEmpty()) {
        std::string folder = checkedPrivateFolder(given.toStdString());
        if (!folder.empty())
            return folder;
    }
    return checkedPrivateFolder(
        QFile::encodeName(QDir::tempPath()).toStdString() + "/runtime-vorpane-" + std::to_string(geteuid()));
}

} // namespace vorpane
