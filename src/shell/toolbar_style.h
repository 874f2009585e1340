#pragma once
// Toolbars are drawn flat, or with raised buttons when "FlatToolbar" (section "Display") is 0.

class QToolBar;

namespace vorpane {

bool flatToolbarsWanted();
void applyToolbarStyle(QToolBar* bar, bool flat);

} // namespace vorpane
