// vorpane-cli income FILE OUT: runs the INCOME script of the investigator's rule file (from the
// program folder) as the income command does and saves the result. A script that does not parse
// or fails to run saves nothing and exits with 1; a rule file without one saves the investigator
// unchanged.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/investigator_history.h"
#include "investigator/rule_scripts.h"

namespace vorpane::cli {

namespace {

int runIncome(const Args& args)
{
    if (args.size() != 2) {
        printError("usage: vorpane-cli income FILE OUT");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[0], inv, sheetScript))
        return kFailed;
    InvestigatorHistory history;
    const IncomeRun run = incomeCommand(inv, history);
    if (run == IncomeRun::Unparsable || run == IncomeRun::Failed)
        return kFailed;
    return InvestigatorFile::save(args[1], inv, sheetScript) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(income, "income", "FILE OUT", runIncome);

} // namespace vorpane::cli
