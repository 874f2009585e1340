#include "shell/startup.h"

#include "docview/commands.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"

#include <QAction>
#include <QFile>

namespace vorpane {

namespace {

bool printFile(CMainFrame& frame, const QString& file)
{
    if (!frame.documents().openDocumentFile(file))
        return false;
    frame.updateCommandStates();
    const QString command = QString::fromLatin1(cmd::PrintDirect);
    QAction* print = frame.action(command);
    if (!print || !print->isEnabled()) {
        showMessage(cp1252("Vorpane todavía no puede imprimir este documento sin el diálogo de impresión."),
            {}, MsgIcon::Warning);
        return false;
    }
    frame.execute(command);
    return true;
}

} // namespace

StartupOutcome processCommandLine(CMainFrame& frame, const CommandLine& line)
{
    StartupOutcome outcome;
    if (!line.printFile.isEmpty()) {
        outcome.quit = true;
        outcome.ok = printFile(frame, line.printFile);
        return outcome;
    }
    int opened = 0;
    for (const QString& file : line.files) {
        if (frame.documents().openDocumentFile(file))
            ++opened;
    }
    if (line.newInvestigator)
        frame.documents().createInvestigator(
            QFile::encodeName(line.ruleFile).toStdString(), line.era, line.wizard);
    // One file that opens is enough to go on; the others have said why they did not.
    if (!line.files.isEmpty() && opened == 0 && !line.newInvestigator)
        outcome.ok = false;
    outcome.newDocumentDialog = line.wantsNewDocumentDialog();
    return outcome;
}

} // namespace vorpane
