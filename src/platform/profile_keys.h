#pragma once
// Every value the program keeps in the profile, declared once: its section, its name and its
// default. Profile::read() and Profile::write() take these keys; a new setting is one more line
// here, in its section's group.

namespace vorpane {

// The numbers a value may hold; Profile clamps what it reads into them, so a garbled or hand-made
// file cannot hand the program a size or a place it was never meant to see.
struct IntRange {
    int min;
    int max;
    constexpr int clamp(int value) const { return value < min ? min : (value > max ? max : value); }
};

struct IntKey {
    const char* section;
    const char* name;
    int defaultValue;
    IntRange range;
};
struct TextKey {
    const char* section;
    const char* name;
    const char* defaultValue;
};

namespace profile_keys {

// --- The kinds of number, each with its range -----------------------------------------------------
inline constexpr IntRange kFlag { 0, 1 };
inline constexpr IntRange kMargin { 0, 9990 }; // 0.1 mm; the options sheet offers 0 to 999 mm
// Pixels; negative: the character height. 96 px is 72 points: larger makes hundreds of pages of a
// short script on paper and a few letters a line on screen.
inline constexpr IntRange kFontHeight { -96, 96 };
inline constexpr IntRange kFontWeight { 0, 1000 };
inline constexpr IntRange kColour { 0, 0xFFFFFF }; // 0x00BBGGRR
inline constexpr IntRange kZoomPercent { 50, 400 };
// Screen coordinates, wide enough for any desktop of several screens and for "not stored".
inline constexpr IntRange kScreenPosition { -32768, 32767 };
inline constexpr IntRange kFileOffset { 0, 0x7FFFFFFF };
inline constexpr IntRange kMinutes { 0, 24 * 60 };

// --- Sheet: what the player writes on sheets, print margins, the investigator display options --
inline constexpr const char* kSheet = "Sheet";
inline constexpr IntKey kUserTextColour { kSheet, "UserTextColour", 0x800000, kColour }; // dark blue
inline constexpr TextKey kUserTextFace { kSheet, "UserTextFace", "Comic Sans MS" };
inline constexpr IntKey kUserTextItalic { kSheet, "UserTextItalic", 0, kFlag };
inline constexpr IntKey kUserTextWeight { kSheet, "UserTextWeight", 0,
    kFontWeight }; // 0: the font's own weight
// The user text font's values share this prefix; its height is not stored (the sheet sizes it).
inline constexpr const char* kUserTextFont = "UserText";
inline constexpr int kUserTextDefaultHeight = 13; // what the options sheet's font dialog starts at
inline constexpr IntKey kLeftMargin { kSheet, "LeftMargin", 0, kMargin }; // 0.1 mm
inline constexpr IntKey kTopMargin { kSheet, "TopMargin", 180, kMargin }; // 0.1 mm, where a page is printed
// The options sheet shows 18.5 mm for a top margin never stored.
inline constexpr IntKey kTopMarginInOptions { kSheet, "TopMargin", 185, kMargin };
inline constexpr IntKey kFieldAnimation { kSheet, "FieldAnimation", 1, kFlag };
inline constexpr IntKey kBases55 { kSheet, "V5.5Base", 1, kFlag };
inline constexpr IntKey kCustomSkillFields { kSheet, "CustSkillField", 1, kFlag };
inline constexpr IntKey kAllPercent { kSheet, "AllPercent", 0, kFlag };
inline constexpr IntKey kTrimSkills { kSheet, "TrimSkills", 1, kFlag };
// The sheet views' zoom in percent, and whether the page follows the window's width.
inline constexpr IntKey kSheetZoom { kSheet, "Zoom", 100, kZoomPercent };
inline constexpr IntKey kSheetZoomFitWidth { kSheet, "ZoomFitWidth", 0, kFlag };

// --- Display -----------------------------------------------------------------------------------
inline constexpr const char* kDisplay = "Display";
inline constexpr IntKey kFlatToolbar { kDisplay, "FlatToolbar", 1, kFlag };
inline constexpr IntKey kAutosaveMinutes { kDisplay, "Autosave", 2, kMinutes }; // 0: no recovery copies

// --- Wizard ------------------------------------------------------------------------------------
inline constexpr const char* kWizard = "Wizard";
inline constexpr IntKey kFullWizard { kWizard, "FullWiz", 1, kFlag }; // 0: the short wizard
inline constexpr IntKey kCanEditRolls { kWizard, "Can Edit", 0, kFlag }; // the rolls can be typed in
inline constexpr IntKey kUseStatMods { kWizard, "Use Stat Mods", 0, kFlag }; // run the occupation's script

// --- Tips: the tip of the day -------------------------------------------------------------------
inline constexpr const char* kTips = "Tips";
inline constexpr IntKey kTipsStartUp { kTips, "StartUp", 0, kFlag }; // 0: shown at start-up
inline constexpr IntKey kTipsFilePos { kTips, "FilePos", 0,
    kFileOffset }; // offset of the next tip in tips.lst
inline constexpr TextKey kTipsTimeStamp { kTips, "TimeStamp", "" }; // tips.lst's time when FilePos was stored

// --- QuickInfo: 1 for each one-time hint the user turned off; the value names are the hints' keys -
inline constexpr const char* kQuickInfo = "QuickInfo";

// --- Output: the output window's font (values "Font" + Face, Size, Weight, Italic) and colours ---
inline constexpr const char* kOutput = "Output";
inline constexpr const char* kOutputFont = "Font"; // the prefix of the font's values
inline constexpr const char* kOutputDefaultFace = "MS Sans Serif";
inline constexpr int kOutputDefaultHeight = -10;
// The colours default to the system's window and window-text colours, which no constant holds.
inline constexpr const char* kOutputBackground = "BkColour";
inline constexpr const char* kOutputText = "TxColour";

// --- Edit: the script editor's font (values "Font" + Face, Size, Weight, Italic) -------------------
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kEditFont = "Font"; // the prefix of the font's values
inline constexpr const char* kEditDefaultFace = "Courier";
inline constexpr int kEditDefaultHeight = 15;

// --- WindowPos: the remembered state of dialogs and floating windows -----------------------------
inline constexpr const char* kWindowPos = "WindowPos";
inline constexpr IntKey kAddSkillExpand { kWindowPos, "AddSkillExpand", 0, kFlag }; // advanced part shown
inline constexpr IntKey kSkillInfoShown { kWindowPos, "SkillInfo", 0, kFlag }; // the "&Info" toggles
// Floating windows' places: screen coordinates of the client origin; without a stored value the
// window is placed beside the main window's document area.
inline constexpr int kPositionNotStored = -32768;
inline constexpr IntKey kSkillInfoX { kWindowPos, "SkillInfoX", kPositionNotStored, kScreenPosition };
inline constexpr IntKey kSkillInfoY { kWindowPos, "SkillInfoY", kPositionNotStored, kScreenPosition };
inline constexpr IntKey kInvestigatorInfoX { kWindowPos, "InvestigatorInfoX", kPositionNotStored,
    kScreenPosition };
inline constexpr IntKey kInvestigatorInfoY { kWindowPos, "InvestigatorInfoY", kPositionNotStored,
    kScreenPosition };

// --- v3Bars-Frame: the main frame's bars and window, as Qt saves them (Base64) -----------------
inline constexpr const char* kBarsFrame = "v3Bars-Frame";
inline constexpr TextKey kFrameState { kBarsFrame, "State", "" };
inline constexpr TextKey kFrameGeometry { kBarsFrame, "Geometry", "" };
inline constexpr IntKey kStatusBarShown { kBarsFrame, "StatusBar", 1, kFlag }; // Qt's state leaves it out

// --- Recent File List: File1, File2 ... the files opened last, newest first ---------------------
// The value names are numbered, so only the section is declared here.
inline constexpr const char* kRecentFileList = "Recent File List";

// --- Every name as the program writes it ---------------------------------------------------------
// A section or value name found in the file in another case is read as the one here and rewritten
// in this spelling; the range is what a number read under that name is clamped to.
struct KeyName {
    const char* section;
    const char* name;
    IntRange range;
};
inline constexpr IntRange kAnyNumber { -0x7FFFFFFF - 1, 0x7FFFFFFF }; // texts, and names kept as found
// A declared key's entry, taken from the key itself so that its section and range are said once.
constexpr KeyName named(const IntKey& key) { return { key.section, key.name, key.range }; }
constexpr KeyName named(const TextKey& key) { return { key.section, key.name, kAnyNumber }; }
inline constexpr KeyName kKeyNames[] = {
    named(kUserTextColour),
    named(kUserTextFace),
    named(kUserTextItalic),
    named(kUserTextWeight),
    named(kLeftMargin),
    named(kTopMargin),
    named(kFieldAnimation),
    named(kBases55),
    named(kCustomSkillFields),
    named(kAllPercent),
    named(kTrimSkills),
    named(kSheetZoom),
    named(kSheetZoomFitWidth),
    named(kFlatToolbar),
    named(kAutosaveMinutes),
    named(kFullWizard),
    named(kCanEditRolls),
    named(kUseStatMods),
    named(kTipsStartUp),
    named(kTipsFilePos),
    named(kTipsTimeStamp),
    { kQuickInfo, "WizDragSwap", kFlag },
    { kQuickInfo, "RunScript", kFlag },
    { kQuickInfo, "MultilineEdit", kFlag },
    { kOutput, "FontFace", kAnyNumber },
    { kOutput, "FontSize", kFontHeight },
    { kOutput, "FontWeight", kFontWeight },
    { kOutput, "FontItalic", kFlag },
    { kOutput, kOutputBackground, kColour },
    { kOutput, kOutputText, kColour },
    { kEdit, "FontFace", kAnyNumber },
    { kEdit, "FontSize", kFontHeight },
    { kEdit, "FontWeight", kFontWeight },
    { kEdit, "FontItalic", kFlag },
    named(kAddSkillExpand),
    named(kSkillInfoShown),
    named(kSkillInfoX),
    named(kSkillInfoY),
    named(kInvestigatorInfoX),
    named(kInvestigatorInfoY),
    named(kFrameState),
    named(kFrameGeometry),
    named(kStatusBarShown),
    { kRecentFileList, "File1", kAnyNumber },
    { kRecentFileList, "File2", kAnyNumber },
    { kRecentFileList, "File3", kAnyNumber },
    { kRecentFileList, "File4", kAnyNumber },
    { kRecentFileList, "File5", kAnyNumber },
    { kRecentFileList, "File6", kAnyNumber },
    { kRecentFileList, "File7", kAnyNumber },
    { kRecentFileList, "File8", kAnyNumber },
};

} // namespace profile_keys

} // namespace vorpane
