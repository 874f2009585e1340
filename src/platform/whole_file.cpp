#include "platform/whole_file.h"

#include <QFile>
#include <QFileInfo>

namespace vorpane {

bool readWholeFile(const std::string& path, size_t maxSize, const char* openMessage, std::string& bytes,
    std::string& failure)
{
    const QString name = QFile::decodeName(path.c_str());
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        failure = openMessage;
        return false;
    }
    const qint64 size = file.size();
    if (size <= 0) {
        failure = "File is empty";
        return false;
    }
    if (size > qint64(maxSize)) {
        failure = "Cannot allocate buffer";
        return false;
    }
    bytes.assign(size_t(size), '\0');
    if (file.read(bytes.data(), size) != size) {
        failure = "Unexpected end of file";
        return false;
    }
    return true;
}

} // namespace vorpane
