#pragma once
// Every name that a document, rule file or list file carries and that the program turns into a
// file of its own (sheet and handout scripts, rule files, list files, tips, user scripts) goes
// through resolveDataFile(): only a plain file name is looked up, and only inside the data
// folders, so that a file from a stranger cannot make the program read or run a file elsewhere
// on the disk. A refused name reads as a missing file, and the user is told once.

#include <QDir>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

// A name without a folder part: not empty, no '/' or '\', no "..", no drive (':') and no control
// characters.
bool isPlainFileName(std::string_view name);

// The user's own data folder, $XDG_DATA_HOME/vorpane (~/.local/share/vorpane when that is unset or
// not absolute), with a trailing '/'. It may not exist yet.
std::string userDataFolder();

// userDataFolder(), created when missing (mode 0700); empty, after a message, when it cannot be.
std::string makeUserDataFolder();

// The folders searched for a data file, first match wins, each with a trailing '/': the user's
// own (unless left out), then the program folder.
std::vector<std::string> dataFolders();

// Leaves the user's folder out of the search, or takes it back (the headless tool, given a rule
// file by its path, reads that folder alone).
void setUserDataFolderSearched(bool searched);

// The files of every data folder that match `patterns`, as full paths in `sort` order of their
// names; a file of an earlier folder hides one of the same name in a later folder. With the user's
// folder empty or missing this is the program folder's own listing.
std::vector<std::string> dataFiles(
    const QStringList& patterns, QDir::Filters filters = QDir::Files, QDir::SortFlags sort = QDir::Name);

// The regular file `name` in the first data folder that holds one; nothing when the name is
// refused (the user is told, once per name) or no folder holds it.
std::optional<std::string> resolveDataFile(const std::string& name);

// For readers that report a missing file themselves: the resolved file, else where the program
// folder would hold it; empty (a path nothing opens) when the name is refused.
std::string dataFilePath(const std::string& name);

// Forgets which names were refused (tests: each case is told afresh).
void forgetRefusedNames();

} // namespace vorpane
