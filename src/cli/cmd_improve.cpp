// vorpane-cli improve FILE OUT: the end-of-campaign improvement of every skill ticked as Checked;
// prints its report and saves the result. Answering No to its question (--answer no) saves
// nothing and exits with 1.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/investigator_history.h"
#include "investigator/sheet_check.h"

namespace vorpane::cli {

namespace {

int runImprove(const Args& args)
{
    if (args.size() != 2) {
        printError("usage: vorpane-cli improve FILE OUT");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[0], inv, sheetScript))
        return kFailed;
    InvestigatorHistory history;
    if (!improveSkills(inv, history))
        return kFailed;
    return InvestigatorFile::save(args[1], inv, sheetScript) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(improve, "improve", "FILE OUT", runImprove);

} // namespace vorpane::cli
