#pragma once
// What the command line asks of a started program, once the main frame exists: open the files
// given, create the investigator of --new, or print a file and end.

namespace vorpane {

class CMainFrame;
struct CommandLine;

struct StartupOutcome {
    // False: start-up failed (nothing that was asked for could be opened or printed).
    bool ok = true;
    // Nothing was asked for: the new-document dialog should open once the window shows.
    bool newDocumentDialog = false;
    // --print: the program ends without showing its window.
    bool quit = false;
};

StartupOutcome processCommandLine(CMainFrame& frame, const CommandLine& line);

} // namespace vorpane
