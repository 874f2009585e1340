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
inline constexpr IntKey kTopMargin { kSheet, "TopMargin", 180 }; // 0.1 mm
inline constexpr IntKey kBases55 { kSheet, "V5.5Base", 1 };
inline constexpr IntKey kCustomSkillFields { kSheet, "CustSkillField", 1 };
inline constexpr IntKey kAllPercent { kSheet, "AllPercent", 0 };
inline constexpr IntKey kTrimSkills { kSheet, "TrimSkills", 1 };

// --- v3Bars-Frame: the main frame's bars and window, as Qt saves them (Base64) -----------------
inline constexpr const char* kBarsFrame = "v3Bars-Frame";
inline constexpr TextKey kFrameState { kBarsFrame, "State", "" };
inline constexpr TextKey kFrameGeometry { kBarsFrame, "Geometry", "" };

// --- Wizard: the new-investigator wizard's mode and the choices its pages remember --------------
inline constexpr const char* kWizard = "Wizard";
inline constexpr IntKey kFullWizard { kWizard, "FullWiz", 1 }; // 0: from the rolls straight to the details
inline constexpr IntKey kCanEditRolls { kWizard, "Can Edit", 0 };
inline constexpr IntKey kUseStatMods { kWizard, "Use Stat Mods", 0 };

// --- WindowPos: the floating description windows ---------------------------------------------
// Positions are the screen coordinates of the client origin; without a stored value the window
// is placed beside the main window's document area.
inline constexpr const char* kWindowPos = "WindowPos";
inline constexpr int kPositionNotStored = -32768;
inline constexpr IntKey kSkillInfoShown { kWindowPos, "SkillInfo", 0 };
inline constexpr IntKey kSkillInfoX { kWindowPos, "SkillInfoX", kPositionNotStored };
inline constexpr IntKey kSkillInfoY { kWindowPos, "SkillInfoY", kPositionNotStored };
inline constexpr IntKey kInvestigatorInfoX { kWindowPos, "InvestigatorInfoX", kPositionNotStored };
inline constexpr IntKey kInvestigatorInfoY { kWindowPos, "InvestigatorInfoY", kPositionNotStored };

// --- Recent File List: File1, File2 ... the files opened last, newest first ---------------------
// The value names are numbered, so only the section is declared here.
inline constexpr const char* kRecentFileList = "Recent File List";

} // namespace profile_keys

} // namespace vorpane
