#pragma once
// Every value the program keeps in the profile, declared once: its section, its name and its
// default. Profile::read() and Profile::write() take these keys; a new setting is one more line
// here, in its section's group.

namespace vorpane {

template <typename T>
struct ProfileKey {
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

} // namespace profile_keys

} // namespace vorpane
