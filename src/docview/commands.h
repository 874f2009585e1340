#pragma once
// The table of every menu and toolbar command: id, label, keys, status-bar tip, icon. Each group
// of commands is declared in one table beside the code that runs it; the main frame makes one
// QAction per row (its object name is the id), so a command has one enabled state and one check
// mark in every menu and toolbar that shows it.
//
// Menu bars are laid out per document kind from the ids (shell/menu_layout.h).

#include <QString>
#include <span>
#include <vector>

namespace vorpane {

struct CommandRow {
    const char* id;
    const char* text; // UTF-8, "&" before the mnemonic
    const char* shortcut = ""; // QKeySequence text, "" for none
    const char* statusTip = "";
    const char* icon = ""; // a resource path, "" for none
    bool checkable = false;
};

// The menu bars: one with no document open, one per document kind (the three script kinds share
// one).
enum class MenuKind { NoDocument, Investigator, Handout, Script };

struct MenuRow {
    const char* title; // UTF-8 with mnemonic
    // Command ids; "-" is a separator, kRecentFilesSlot the recent-file list, kWindowListSlot the
    // open windows; kSubmenuStart, a title and the submenu's items up to kSubmenuEnd a submenu.
    std::vector<const char*> items;
};

inline constexpr const char* kRecentFilesSlot = "@recent";
inline constexpr const char* kWindowListSlot = "@windows";
inline constexpr const char* kSubmenuStart = "@submenu";
inline constexpr const char* kSubmenuEnd = "@end";

// Command ids the frame itself refers to.
namespace cmd {
inline constexpr const char* New = "file.new";
inline constexpr const char* NewFromStyle = "file.newFromStyle";
inline constexpr const char* Open = "file.open";
inline constexpr const char* Close = "file.close";
inline constexpr const char* Save = "file.save";
inline constexpr const char* SaveAs = "file.saveAs";
inline constexpr const char* Print = "file.print";
inline constexpr const char* PrintPreview = "file.printPreview";
inline constexpr const char* PrintSetup = "file.printSetup";
// Prints on the default printer without the print dialog (the command line's --print).
inline constexpr const char* PrintDirect = "file.printDirect";
inline constexpr const char* Exit = "file.exit";
inline constexpr const char* Undo = "edit.undo";
inline constexpr const char* Redo = "edit.redo";
inline constexpr const char* Cut = "edit.cut";
inline constexpr const char* Copy = "edit.copy";
inline constexpr const char* Paste = "edit.paste";
inline constexpr const char* SelectAll = "edit.selectAll";
inline constexpr const char* Find = "edit.find";
inline constexpr const char* FindNext = "edit.findNext";
inline constexpr const char* Replace = "edit.replace";
inline constexpr const char* Complete = "edit.complete";
inline constexpr const char* GoToLine = "edit.goToLine";
inline constexpr const char* ToolBar = "view.toolBar";
inline constexpr const char* StatusBar = "view.statusBar";
inline constexpr const char* OutputBar = "view.output";
inline constexpr const char* HideOutput = "view.hideOutput";
inline constexpr const char* SheetStyle = "view.sheetStyle";
inline constexpr const char* Refresh = "view.refresh";
inline constexpr const char* RunScript = "script.run";
inline constexpr const char* ScriptPreview = "script.preview";
inline constexpr const char* NextPane = "window.nextPane";
inline constexpr const char* PreviousPane = "window.previousPane";
inline constexpr const char* Cascade = "window.cascade";
inline constexpr const char* Tile = "window.tile";
inline constexpr const char* Options = "tools.options";
inline constexpr const char* HelpContents = "help.contents";
inline constexpr const char* TipOfTheDay = "help.tip";
inline constexpr const char* About = "help.about";
} // namespace cmd

} // namespace vorpane
