// vorpane-cli convert IN OUT.inv: reads any investigator file the program reads (the two legacy
// versions included) and saves it as a current investigator file.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"

namespace vorpane::cli {

namespace {

int runConvert(const Args& args)
{
    if (args.size() != 2) {
        printError("usage: vorpane-cli convert IN OUT.inv");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[0], inv, sheetScript))
        return kFailed;
    return InvestigatorFile::save(args[1], inv, sheetScript) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(convert, "convert", "IN OUT.inv", runConvert);

} // namespace vorpane::cli
