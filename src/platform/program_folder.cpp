#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace vorpane {

namespace {

QString g_folder;

QString withSlash(const QString& dir) { return dir.endsWith('/') ? dir : dir + '/'; }

QString resolveFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    const QString fromEnv = qEnvironmentVariable("VORPANE_DATA");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString exeDir
        = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (!QDir(exeDir).entryList({ "*.rul" }, QDir::Files).isEmpty())
        return exeDir;
    return QDir(exeDir + "/../share/vorpane").absolutePath();
}

} // namespace

void setProgramFolder(const std::string& dir) { g_folder = QString::fromStdString(dir); }

std::string programFolder() { return withSlash(resolveFolder()).toStdString(); }

std::string programFile(const std::string& name) { return programFolder() + name; }

} // namespace vorpane
