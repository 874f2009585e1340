#pragma once
// Writing a file: the one way every writer of the program saves. The bytes go to a temporary file
// beside the target, which replaces the target only once everything is written, so a failed save
// leaves the old file whole.
//
// Paths are in the file system's own encoding, as QFile::decodeName() takes them.

#include <functional>
#include <string>
#include <string_view>

class QIODevice;

namespace vorpane {

enum class SaveResult {
    Saved,
    CannotOpen, // the temporary file could not be made
    CannotWrite, // writing or replacing the target failed; nothing changed
};

// Writes bytes as the file's whole content.
SaveResult saveFile(const std::string& path, std::string_view bytes);

// Lets write fill the file; false from write saves nothing (CannotWrite).
SaveResult saveFile(const std::string& path, const std::function<bool(QIODevice& device)>& write);

} // namespace vorpane
