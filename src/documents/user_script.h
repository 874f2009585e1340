#pragma once
// Running a user's script: the objects dice and output, the owner of its boxes, the run.

#include <string>

class QWidget;

namespace vorpane {

// Runs the script file as the script list of the new-document dialog does, after the "RunScript"
// hint about the break key. True only when the run succeeded and the script's last value, as an
// integer, is 1.
bool runUserScript(const std::string& path, QWidget* owner = nullptr);

// Runs a script text (Windows-1252) the same way, through the runner's temporary file and without
// the hint: the script editor's run. The same result.
bool runUserScriptText(const std::string& text, QWidget* owner = nullptr);

} // namespace vorpane
