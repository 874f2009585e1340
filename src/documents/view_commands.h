#pragma once
// Command ids of the sheet views (investigators and handouts), beside those of app/commands.h.

#include "docview/commands.h"
#include "sheet/investigator_sheet_options.h"

namespace vorpane {

// The commands of sheet views (investigators and handouts).
std::span<const CommandRow> sheetViewCommands();

namespace cmd {
inline constexpr const char* ExportPdf = "file.exportPdf";
inline constexpr const char* CopySheet = "edit.copySheet";
inline constexpr const char* ZoomIn = "view.zoomIn";
inline constexpr const char* ZoomOut = "view.zoomOut";
inline constexpr const char* ZoomActual = "view.zoomActual";
inline constexpr const char* ZoomFitWidth = "view.zoomFitWidth";
inline constexpr const char* Bases55 = "view.bases55";
inline constexpr const char* CustomSkillFields = "view.customSkillFields";
inline constexpr const char* AllPercent = "view.allPercent";
inline constexpr const char* TrimSkills = "view.trimSkills";
} // namespace cmd

// The command that flips a display option of investigator sheets.
const char* displayOptionCommand(DisplayOption option);

} // namespace vorpane
