// vorpane-cli check FILE: the sheet check ("Probar ficha") of an investigator file; prints its
// report. The exit status is 0 whether or not the check found something: it did its job.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/sheet_check.h"

namespace vorpane::cli {

namespace {

int runCheck(const Args& args)
{
    if (args.size() != 1) {
        printError("usage: vorpane-cli check FILE");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[0], inv, sheetScript))
        return kFailed;
    checkSheet(inv);
    return kSuccess;
}

} // namespace

VORPANE_CLI_COMMAND(check, "check", "FILE", runCheck);

} // namespace vorpane::cli
