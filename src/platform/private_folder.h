#pragma once
// Folders that only this user may enter. Sockets and temporary files in a folder that another
// local user could write to can be swapped, read or occupied by that user first.

#include <string>

namespace vorpane {

// The folder made with mode 0700 when it is missing; an existing one must be a real folder (not
// a link) owned by this user that nobody else may enter. Empty when it is not, or cannot be made.
std::string checkedPrivateFolder(const std::string& path);

// $XDG_RUNTIME_DIR when it passes checkedPrivateFolder(), else "runtime-vorpane-UID" in the
// temporary folder when that does; empty when neither does.
std::string userRuntimeFolder();

} // namespace vorpane
