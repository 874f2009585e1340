#pragma once
// Running a user's script file as the new-document dialog's script tab does: the objects dice
// and output, the "RunScript" hint, the run. True only when the run succeeded and the script's
// last value is 1.

#include <string>

namespace vorpane {

bool runUserScript(const std::string& path);

} // namespace vorpane
