// vorpane-cli render FILE OUT [--script NAME] [--dpi N]: runs the sheet script of an investigator
// (.inv) or the layout script of a handout (.zho) and paints the page into OUT (.png or .pdf).
// The script is --script NAME, else the document's own, else (investigators) the rule file's
// DefaultScript, else the first script of the data folders. A sheet (.vis) or handout (.vhs)
// script given as FILE is run on its own, with no fields. The exit status is 1 when the script
// failed: the page then shows the error page, and is written all the same.

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/program_folder.h"
#include "platform/save_file.h"
#include "sheet/handout_sheet.h"
#include "sheet/handout_sheet_model.h"
#include "sheet/investigator_defaults.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <strings.h>

namespace vorpane::cli {

namespace {

constexpr double kDefaultDpi = 96;
constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 1200;
constexpr int kPdfResolution = 1200;
// Node evaluations a sheet script may take here; a runaway script ends instead of hanging the tool.
constexpr uint64_t kRenderStepBudget = 200'000'000;

bool hasExtension(const std::string& path, const char* extension)
{
    const std::string suffix = std::string(".") + extension;
    return path.size() >= suffix.size()
        && strcasecmp(path.c_str() + path.size() - suffix.size(), suffix.c_str()) == 0;
}

// What is rendered: the document, the layout with its fields and host, and the script to run.
// The host refers to the layout and the document, so it is declared after them and goes first.
struct RenderSource {
    InvestigatorDocumentModel investigator;
    HandoutSheetModel handout;
    SheetLayout layout;
    std::unique_ptr<SheetHost> host;
    std::string extension = kSheetScriptExtension;
    std::string scriptName; // before the choice among the files present
    std::string scriptPath; // a script file given directly
};

bool loadInvestigator(const std::string& path, RenderSource& source)
{
    if (!source.investigator.open(path))
        return false;
    source.host = std::make_unique<InvestigatorSheet>(source.layout, source.investigator);
    source.extension = kSheetScriptExtension;
    source.scriptName = investigatorSheetScript(source.investigator);
    return true;
}

bool loadHandout(const std::string& path, RenderSource& source)
{
    if (!source.handout.open(path))
        return false;
    source.host = std::make_unique<HandoutSheet>(source.layout, source.handout);
    source.extension = kHandoutScriptExtension;
    source.scriptName = source.handout.handout().templateName;
    return true;
}

bool loadSource(const std::string& path, RenderSource& source)
{
    if (hasExtension(path, "inv"))
        return loadInvestigator(path, source);
    if (hasExtension(path, "zho"))
        return loadHandout(path, source);
    if (hasExtension(path, kSheetScriptExtension) || hasExtension(path, kHandoutScriptExtension)) {
        source.scriptPath = path;
        return true;
    }
    printError("vorpane-cli: render takes an investigator (.inv), a handout (.zho) or a script (.vis, .vhs)");
    return false;
}

bool runScript(RenderSource& source)
{
    setSheetScriptStepBudget(kRenderStepBudget);
    if (!source.scriptPath.empty()) {
        source.layout.resetPageSize();
        const bool ok = runSheetScript(source.scriptPath, source.layout);
        if (source.host)
            source.host->bindTables(source.layout);
        return ok;
    }
    const std::string name = chooseSheetScript(source.scriptName, source.extension);
    return runSheetScriptNamed(name, source.extension, source.layout);
}

bool writePng(SheetLayout& layout, double dpi, const std::string& out)
{
    const QImage image = renderSheet(layout, dpi);
    if (image.isNull()) {
        printError("vorpane-cli: the page is too large to paint at this resolution");
        return false;
    }
    return saveFile(out, [&image](QIODevice& device) { return image.save(&device, "PNG"); })
        == SaveResult::Saved;
}

bool writePdf(SheetLayout& layout, const std::string& out)
{
    return saveFile(out, [&layout](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Vorpane"));
        writer.setResolution(kPdfResolution);
        const QSizeF pageMm(layout.pageWidth() / 100.0, layout.pageHeight() / 100.0);
        writer.setPageLayout(QPageLayout(QPageSize(pageMm, QPageSize::Millimeter), QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setWorldTransform(sheetToDevice(kPdfResolution, kPdfResolution));
        SheetPainter sheetPainter(painter, layout);
        sheetPainter.replay();
        return true;
    }) == SaveResult::Saved;
}

int runRender(const Command& self, const Args& given)
{
    Args args = given;
    bool usageError = false;
    std::string scriptOption, dpiOption;
    const bool hasScript = takeOption(args, "--script", scriptOption, usageError);
    const bool hasDpi = takeOption(args, "--dpi", dpiOption, usageError);
    double dpi = kDefaultDpi;
    if (hasDpi) {
        char* end = nullptr;
        const long value = std::strtol(dpiOption.c_str(), &end, 10);
        if (dpiOption.empty() || *end || value < kMinDpi || value > kMaxDpi)
            usageError = true;
        else
            dpi = double(value);
    }
    const bool png = args.size() == 2 && hasExtension(args[1], "png");
    const bool pdf = args.size() == 2 && hasExtension(args[1], "pdf");
    if (usageError || (!png && !pdf))
        return printUsage(self);

    RenderSource source;
    if (!loadSource(cp1252(args[0]), source))
        return kFailed;
    if (hasScript)
        source.scriptName = cp1252(scriptOption);
    const bool ran = runScript(source);

    const bool written = png ? writePng(source.layout, dpi, args[1]) : writePdf(source.layout, args[1]);
    if (!written) {
        printError("vorpane-cli: cannot write " + args[1]);
        return kFailed;
    }
    if (!ran) {
        printError("vorpane-cli: the sheet script failed; the page shows the error page");
        return kFailed;
    }
    return kSuccess;
}

} // namespace

VORPANE_CLI_COMMAND(
    render, "render", "FILE OUT.png|OUT.pdf [--script NAME] [--dpi N] (N from 10 to 1200)", runRender);

} // namespace vorpane::cli
