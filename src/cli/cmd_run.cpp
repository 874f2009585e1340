// vorpane-cli run SCRIPT: runs a user script the way the application's script dialog does, with
// the objects dice and output.
#include "cli/cli_command.h"
#include "platform/ui_services.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

namespace vorpane::cli {

namespace {

constexpr char kRunScriptKey[] = "RunScript";
constexpr char kRunScriptHint[] = "Vorpane va a abrir un archivo externo. Puedes pulsar Ctrl+Espacio para "
                                  "deterlo en cualquier momento.      ";

int runScript(const Command& self, const Args& args)
{
    if (args.size() != 1)
        return printUsage(self);
    script::ScriptRunner runner;
    runner.loadFile(args.front());
    registerDiceAndOutput(runner);
    ui().quickInfo(kRunScriptKey, kRunScriptHint);
    return runner.run() ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(run, "run", "SCRIPT", runScript);

} // namespace vorpane::cli
