// vorpane-cli check FILE: the sheet check ("Probar ficha") of an investigator file; prints its
// report. The exit status is 0 whether or not the check found something: it did its job.

#include "cli/cli_command.h"
#include "cli/investigator_command.h"
#include "investigator/sheet_check.h"

namespace vorpane::cli {

namespace {

int runCheck(const Command& self, const Args& args)
{
    if (args.size() != 1)
        return printUsage(self);
    return actOnInvestigator(args[0], [](Investigator& inv) {
        checkSheet(inv);
        return true;
    });
}

} // namespace

VORPANE_CLI_COMMAND(check, "check", "FILE", runCheck);

} // namespace vorpane::cli
