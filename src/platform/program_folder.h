#pragma once
// The folder of the data files: --data DIR (setProgramFolder), else VORPANE_DATA, else the
// executable's folder when it holds a rule file, else ../share/vorpane beside the executable.

#include <string>

namespace vorpane {

void setProgramFolder(const std::string& dir);

// The folder with a trailing '/'.
std::string programFolder();

// programFolder() + name.
std::string programFile(const std::string& name);

} // namespace vorpane
