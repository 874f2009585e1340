// vorpane-cli convert IN OUT.inv: reads any investigator file the program reads (the two legacy
// versions included) and saves it as a current investigator file.

#include "cli/cli_command.h"
#include "cli/investigator_command.h"

namespace vorpane::cli {

namespace {

int runConvert(const Command& self, const Args& args)
{
    if (args.size() != 2)
        return printUsage(self);
    return updateInvestigator(args[0], args[1], [](Investigator&) { return true; });
}

} // namespace

VORPANE_CLI_COMMAND(convert, "convert", "IN OUT.inv", runConvert);

} // namespace vorpane::cli
