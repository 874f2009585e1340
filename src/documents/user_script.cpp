#include "documents/user_script.h"

#include "investigator/rule_scripts.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

namespace vorpane {

namespace {

bool runLoaded(script::ScriptRunner& runner, bool hint)
{
    registerDiceAndOutput(runner);
    if (hint)
        ui().quickInfo(kRunScriptHintKey, cp1252(kRunScriptHintText));
    int32_t value = 0;
    return runner.run(&value) == 1 && value == 1;
}

} // namespace

bool runUserScript(const std::string& path, QWidget* owner)
{
    script::ScriptRunner runner;
    runner.setOwnerWindow(owner);
    runner.loadFile(path);
    return runLoaded(runner, true);
}

bool runUserScriptText(const std::string& text, QWidget* owner)
{
    script::ScriptRunner runner;
    runner.setOwnerWindow(owner);
    if (!runner.loadText(text)) {
        showMessage(
            cp1252("No se puede escribir el archivo temporal del script ") + runner.temporaryFileName(), {},
            MsgIcon::Error);
        return false;
    }
    return runLoaded(runner, false);
}

} // namespace vorpane
