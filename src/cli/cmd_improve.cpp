// vorpane-cli improve FILE OUT: the end-of-campaign improvement of every skill ticked as Checked;
// prints its report and saves the result. Answering No to its question (--answer no) saves
// nothing and exits with 1.

#include "cli/cli_command.h"
#include "cli/investigator_command.h"
#include "investigator/investigator_history.h"
#include "investigator/sheet_check.h"

namespace vorpane::cli {

namespace {

int runImprove(const Command& self, const Args& args)
{
    if (args.size() != 2)
        return printUsage(self);
    return updateInvestigator(args[0], args[1], [](Investigator& inv) {
        InvestigatorHistory history;
        return improveSkills(inv, history);
    });
}

} // namespace

VORPANE_CLI_COMMAND(improve, "improve", "FILE OUT", runImprove);

} // namespace vorpane::cli
