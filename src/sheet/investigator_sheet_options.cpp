#include "sheet/investigator_sheet_options.h"

#include "platform/profile.h"

namespace vorpane {

namespace {

constexpr DisplayOptionInfo kInfo[kDisplayOptionCount] = {
    { "Zhaldor &5.5 Bases", &profile_keys::kBases55 },
    { "Custom habilidades como &Campos", &profile_keys::kCustomSkillFields },
    { "&Todas las habilidades en percentiles", &profile_keys::kAllPercent },
    { "&Clip puntos de habilidades", &profile_keys::kTrimSkills },
};

bool InvestigatorDisplayOptions::*member(DisplayOption option)
{
    switch (option) {
    case DisplayOption::Bases55:
        return &InvestigatorDisplayOptions::bases55;
    case DisplayOption::CustomSkillFields:
        return &InvestigatorDisplayOptions::customSkillFields;
    case DisplayOption::AllPercent:
        return &InvestigatorDisplayOptions::allPercent;
    case DisplayOption::TrimSkills:
        break;
    }
    return &InvestigatorDisplayOptions::trimSkills;
}

constexpr DisplayOption kAll[kDisplayOptionCount] = { DisplayOption::Bases55,
    DisplayOption::CustomSkillFields, DisplayOption::AllPercent, DisplayOption::TrimSkills };

} // namespace

const DisplayOptionInfo& displayOptionInfo(DisplayOption option) { return kInfo[int(option)]; }

bool InvestigatorDisplayOptions::get(DisplayOption option) const { return this->*member(option); }

void InvestigatorDisplayOptions::set(DisplayOption option, bool on) { this->*member(option) = on; }

InvestigatorDisplayOptions& displayOptions()
{
    static InvestigatorDisplayOptions options;
    return options;
}

void loadDisplayOptions()
{
    for (DisplayOption option : kAll) {
        displayOptions().set(option, Profile::read(*displayOptionInfo(option).key) != 0);
    }
}

bool toggleDisplayOption(DisplayOption option)
{
    const bool on = !displayOptions().get(option);
    displayOptions().set(option, on);
    Profile::write(*displayOptionInfo(option).key, on ? 1 : 0);
    return on;
}

} // namespace vorpane
