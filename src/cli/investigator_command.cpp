#include "cli/investigator_command.h"

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"

namespace vorpane::cli {

namespace {

int run(const std::string& in, const std::string* out, const InvestigatorAction& act)
{
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(in, inv, sheetScript) || !act(inv))
        return kFailed;
    if (out && !InvestigatorFile::save(*out, inv, sheetScript))
        return kFailed;
    return kSuccess;
}

} // namespace

int actOnInvestigator(const std::string& path, const InvestigatorAction& act)
{
    return run(path, nullptr, act);
}

int updateInvestigator(const std::string& in, const std::string& out, const InvestigatorAction& act)
{
    return run(in, &out, act);
}

} // namespace vorpane::cli
