#include "platform/save_file.h"

#include <QFile>
#include <QSaveFile>

namespace vorpane {

SaveResult saveFile(const std::string& path, const std::function<bool(QIODevice& device)>& write)
{
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly))
        return SaveResult::CannotOpen;
    // The last buffered bytes go out here, where a full disk shows: commit() would put a file
    // cut short in place of the old one.
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        file.cancelWriting();
        return SaveResult::CannotWrite;
    }
    return SaveResult::Saved;
}

SaveResult saveFile(const std::string& path, std::string_view bytes)
{
    return saveFile(path, [bytes](QIODevice& device) {
        return device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    });
}

} // namespace vorpane
