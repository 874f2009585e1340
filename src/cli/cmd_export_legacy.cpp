// vorpane-cli export-legacy VERSION FILE OUT: writes an investigator in the format of version 1
// ("INV10") or 2 ("INV20"), as the two export commands of the file menu do.

#include "cli/cli_command.h"
#include "cli/investigator_command.h"
#include "investigator/legacy_file.h"

namespace vorpane::cli {

namespace {

int runExportLegacy(const Command& self, const Args& args)
{
    if (args.size() != 3 || (args[0] != "1" && args[0] != "2"))
        return printUsage(self);
    const int version = args[0] == "1" ? 1 : 2;
    return actOnInvestigator(args[1],
        [&args, version](Investigator& inv) { return LegacyFile::exportFile(args[2], inv, version); });
}

} // namespace

VORPANE_CLI_COMMAND(exportLegacy, "export-legacy", "1|2 FILE OUT", runExportLegacy);

} // namespace vorpane::cli
