#pragma once
// Every name that a document, rule file or list file carries and that the program turns into a
// file of its own (sheet and handout scripts, rule files, list files, tips, user scripts) goes
// through resolveDataFile(): only a plain file name is looked up, and only inside the data
// folders, so that a file from a stranger cannot make the program read or run a file elsewhere
// on the disk. A refused name reads as a missing file, and the user is told once.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

// A name without a folder part: not empty, no '/' or '\', no "..", no drive (':') and no control
// characters.
bool isPlainFileName(std::string_view name);

// The folders searched for a data file, first match wins, each with a trailing '/'.
std::vector<std::string> dataFolders();

// The regular file `name` in the first data folder that holds one; nothing when the name is
// refused (the user is told, once per name) or no folder holds it.
std::optional<std::string> resolveDataFile(const std::string& name);

// For readers that report a missing file themselves: the resolved file, else where the program
// folder would hold it; empty (a path nothing opens) when the name is refused.
std::string dataFilePath(const std::string& name);

// Forgets which names were refused (tests: each case is told afresh).
void forgetRefusedNames();

} // namespace vorpane
