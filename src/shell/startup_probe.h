#pragma once
// For the start-up benchmark (bench/startup.sh): with the environment variable
// VORPANE_QUIT_WHEN_IDLE=1 the program quits as soon as the main window is shown and the event
// loop has nothing left to do; with a document open, only once its view has painted.

namespace vorpane {

// Does nothing unless the variable is set.
void quitWhenIdleIfAsked();

} // namespace vorpane
