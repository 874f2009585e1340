// vorpane-cli income FILE OUT: runs the INCOME script of the investigator's rule file (from the
// program folder) as the income command does and saves the result. A script that does not parse
// or fails to run saves nothing and exits with 1; a rule file without one saves the investigator
// unchanged.

#include "cli/cli_command.h"
#include "cli/investigator_command.h"
#include "investigator/investigator_history.h"
#include "investigator/rule_scripts.h"

namespace vorpane::cli {

namespace {

int runIncome(const Command& self, const Args& args)
{
    if (args.size() != 2)
        return printUsage(self);
    return updateInvestigator(args[0], args[1], [](Investigator& inv) {
        InvestigatorHistory history;
        const IncomeRun run = incomeCommand(inv, history);
        return run != IncomeRun::Unparsable && run != IncomeRun::Failed;
    });
}

} // namespace

VORPANE_CLI_COMMAND(income, "income", "FILE OUT", runIncome);

} // namespace vorpane::cli
