#pragma once
// Every value the program keeps in the profile, declared once: its section, its name and its
// default. Profile::read() and Profile::write() take these keys; a new setting is one more line
// here, in its section's group.

namespace vorpane {

template <typename T> struct ProfileKey {
    const char* section;
    const char* name;
    T defaultValue;
};
using IntKey = ProfileKey<int>;
using TextKey = ProfileKey<const char*>;

namespace profile_keys {

// --- Sheet: what the player writes on sheets, print margins, the investigator display options --
inline constexpr const char* kSheet = "Sheet";
inline constexpr IntKey kUserTextColour { kSheet, "UserTextColour", 0x800000 }; // dark blue
inline constexpr TextKey kUserTextFace { kSheet, "UserTextFace", "Comic Sans MS" };
inline constexpr IntKey kUserTextItalic { kSheet, "UserTextItalic", 0 };
inline constexpr IntKey kUserTextWeight { kSheet, "UserTextWeight", 0 }; // 0: the font's own weight
inline constexpr IntKey kLeftMargin { kSheet, "LeftMargin", 0 }; // 0.1 mm
inline constexpr IntKey kTopMargin { kSheet, "TopMargin", 180 }; // 0.1 mm, where a page is printed
// The options sheet shows 18.5 mm for a top margin never stored.
inline constexpr IntKey kTopMarginInOptions { kSheet, "TopMargin", 185 };
inline constexpr IntKey kFieldAnimation { kSheet, "FieldAnimation", 1 };
inline constexpr IntKey kBases55 { kSheet, "V5.5Base", 1 };
inline constexpr IntKey kCustomSkillFields { kSheet, "CustSkillField", 1 };
inline constexpr IntKey kAllPercent { kSheet, "AllPercent", 0 };
inline constexpr IntKey kTrimSkills { kSheet, "TrimSkills", 1 };
// The sheet views' zoom in percent, and whether the page follows the window's width.
inline constexpr IntKey kSheetZoom { kSheet, "Zoom", 100 };
inline constexpr IntKey kSheetZoomFitWidth { kSheet, "ZoomFitWidth", 0 };

// --- Display -----------------------------------------------------------------------------------
inline constexpr const char* kDisplay = "Display";
inline constexpr IntKey kFlatToolbar { kDisplay, "FlatToolbar", 1 };
inline constexpr IntKey kAutosaveMinutes { kDisplay, "Autosave", 2 }; // 0: no recovery copies

// --- Wizard ------------------------------------------------------------------------------------
inline constexpr const char* kWizard = "Wizard";
inline constexpr IntKey kFullWizard { kWizard, "FullWiz", 1 }; // 0: the short wizard
inline constexpr IntKey kCanEditRolls { kWizard, "Can Edit", 0 }; // the rolls can be typed in
inline constexpr IntKey kUseStatMods { kWizard, "Use Stat Mods", 0 }; // run the occupation's script

// --- Tips: the tip of the day -------------------------------------------------------------------
inline constexpr const char* kTips = "Tips";
inline constexpr IntKey kTipsStartUp { kTips, "StartUp", 0 }; // 0: shown at start-up
inline constexpr IntKey kTipsFilePos { kTips, "FilePos", 0 }; // offset of the next tip in tips.lst
inline constexpr TextKey kTipsTimeStamp { kTips, "TimeStamp", "" }; // tips.lst's time when FilePos was stored

// --- QuickInfo: 1 for each one-time hint the user turned off; the value names are the hints' keys -
inline constexpr const char* kQuickInfo = "QuickInfo";

// --- Output: the output window's font (values "Font" + Face, Size, Weight, Italic) and colours ---
inline constexpr const char* kOutput = "Output";
inline constexpr const char* kOutputDefaultFace = "MS Sans Serif";
inline constexpr int kOutputDefaultHeight = -10;
// The colours default to the system's window and window-text colours, which no constant holds.
inline constexpr const char* kOutputBackground = "BkColour";
inline constexpr const char* kOutputText = "TxColour";

// --- Edit: the script editor's font (values "Font" + Face, Size, Weight, Italic) -------------------
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kEditDefaultFace = "Courier";
inline constexpr int kEditDefaultHeight = 15;

// --- WindowPos: the remembered state of dialogs and floating windows -----------------------------
inline constexpr const char* kWindowPos = "WindowPos";
inline constexpr IntKey kAddSkillExpand { kWindowPos, "AddSkillExpand", 0 }; // advanced part shown
inline constexpr IntKey kSkillInfoShown { kWindowPos, "SkillInfo", 0 }; // the "&Info" toggles
// Floating windows' places: screen coordinates of the client origin; without a stored value the
// window is placed beside the main window's document area.
inline constexpr int kPositionNotStored = -32768;
inline constexpr IntKey kSkillInfoX { kWindowPos, "SkillInfoX", kPositionNotStored };
inline constexpr IntKey kSkillInfoY { kWindowPos, "SkillInfoY", kPositionNotStored };
inline constexpr IntKey kInvestigatorInfoX { kWindowPos, "InvestigatorInfoX", kPositionNotStored };
inline constexpr IntKey kInvestigatorInfoY { kWindowPos, "InvestigatorInfoY", kPositionNotStored };

// --- v3Bars-Frame: the main frame's bars and window, as Qt saves them (Base64) -----------------
inline constexpr const char* kBarsFrame = "v3Bars-Frame";
inline constexpr TextKey kFrameState { kBarsFrame, "State", "" };
inline constexpr TextKey kFrameGeometry { kBarsFrame, "Geometry", "" };

// --- Recent File List: File1, File2 ... the files opened last, newest first ---------------------
// The value names are numbered, so only the section is declared here.
inline constexpr const char* kRecentFileList = "Recent File List";

} // namespace profile_keys

} // namespace vorpane
