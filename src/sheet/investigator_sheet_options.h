#pragma once
// The investigator sheet's four display options: process-wide flags kept in the profile (keys in
// platform/profile_keys.h), read again whenever an investigator sheet is created, flipped by their
// menu commands (which write them back).

#include "platform/profile_keys.h"

#include <string>

namespace vorpane {

enum class DisplayOption {
    Bases55, // skills whose Base is exactly "0" show one more than stored
    CustomSkillFields, // names of skills without a leading '*' in the user-text look
    AllPercent, // every percentage cell filled, also at the skill's base
    TrimSkills, // a typed percentage below the base value becomes the base value
};
constexpr int kDisplayOptionCount = 4;

struct DisplayOptionInfo {
    const char* label; // the menu command
    const IntKey* key; // where the profile keeps it, with its default
};
const DisplayOptionInfo& displayOptionInfo(DisplayOption option);

struct InvestigatorDisplayOptions {
    bool bases55 = profile_keys::kBases55.defaultValue != 0;
    bool customSkillFields = profile_keys::kCustomSkillFields.defaultValue != 0;
    bool allPercent = profile_keys::kAllPercent.defaultValue != 0;
    bool trimSkills = profile_keys::kTrimSkills.defaultValue != 0;

    bool get(DisplayOption option) const;
    void set(DisplayOption option, bool on);
};

// The process-wide flags.
InvestigatorDisplayOptions& displayOptions();
// Rereads all four from the profile (done when an investigator sheet is created).
void loadDisplayOptions();
// Flips one, writes it back to the profile and returns its new state.
bool toggleDisplayOption(DisplayOption option);

// Defaults of the investigator sheet parameters (keys in sheet_layout.h).
constexpr int kShortSheetDefault = 0;
constexpr int kShowCoreFirearmsDefault = 1;
constexpr int kShowBasePercentDefault = 1;

} // namespace vorpane
