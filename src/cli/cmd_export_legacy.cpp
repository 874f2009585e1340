// vorpane-cli export-legacy VERSION FILE OUT: writes an investigator in the format of version 1
// ("INV10") or 2 ("INV20"), as the two export commands of the file menu do.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/legacy_file.h"

namespace vorpane::cli {

namespace {

int runExportLegacy(const Args& args)
{
    if (args.size() != 3 || (args[0] != "1" && args[0] != "2")) {
        printError("usage: vorpane-cli export-legacy 1|2 FILE OUT");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[1], inv, sheetScript))
        return kFailed;
    return LegacyFile::exportFile(args[2], inv, args[0] == "1" ? 1 : 2) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(exportLegacy, "export-legacy", "VERSION FILE OUT", runExportLegacy);

} // namespace vorpane::cli
