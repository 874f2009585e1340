// vorpane-cli export-html FILE OUT.html: the HTML summary of an investigator file ("V5.5Base" is
// read from the settings, default on).

#include "cli/cli_command.h"
#include "cli/investigator_command.h"
#include "investigator/html_export.h"

namespace vorpane::cli {

namespace {

int runExportHtml(const Command& self, const Args& args)
{
    if (args.size() != 2)
        return printUsage(self);
    return actOnInvestigator(args[0], [&args](Investigator& inv) { return exportHtml(args[1], inv); });
}

} // namespace

VORPANE_CLI_COMMAND(exportHtml, "export-html", "FILE OUT.html", runExportHtml);

} // namespace vorpane::cli
