// vorpane-cli export-html FILE OUT.html: the HTML summary of an investigator file ("V5.5Base" is
// read from the settings, default on).

#include "cli/cli_command.h"
#include "investigator/html_export.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"

namespace vorpane::cli {

namespace {

int runExportHtml(const Args& args)
{
    if (args.size() != 2) {
        printError("usage: vorpane-cli export-html FILE OUT.html");
        return kUsage;
    }
    Investigator inv;
    std::string sheetScript;
    if (!InvestigatorFile::load(args[0], inv, sheetScript))
        return kFailed;
    return exportHtml(args[1], inv) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(exportHtml, "export-html", "FILE OUT.html", runExportHtml);

} // namespace vorpane::cli
