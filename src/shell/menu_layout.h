#pragma once
// The program's whole command table and its menu bars: the application's own commands and each
// document kind's, gathered here above the layers that declare them.

#include "docview/commands.h"

namespace vorpane {

// The application's own commands (files, windows, options, help).
std::span<const CommandRow> appCommands();
// Every table: the application's first, then each document kind's.
std::vector<std::span<const CommandRow>> commandTables();
// The menu bar of a document kind.
std::vector<MenuRow> menuLayout(MenuKind kind);

} // namespace vorpane
