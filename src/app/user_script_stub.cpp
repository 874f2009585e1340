// Stand-in for runUserScript() until the desktop's script runner lands with its own
// user_script.cpp; delete this file then.
#include "app/user_script.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

namespace vorpane {

bool runUserScript(const std::string& path)
{
    script::ScriptRunner runner;
    runner.loadFile(path);
    registerDiceAndOutput(runner);
    ui().quickInfo("RunScript",
        cp1252("Vorpane va a abrir un archivo externo. Puedes pulsar Ctrl+Espacio para deterlo en cualquier "
               "momento.      "));
    int32_t value = 0;
    return runner.run(&value) == 1 && value == 1;
}

} // namespace vorpane
