#include "sheet/investigator_sheet_options.h"

#include "platform/profile.h"

namespace vorpane {

namespace {

constexpr const char* kSection = "Sheet";

constexpr DisplayOptionInfo kInfo[kDisplayOptionCount] = {
    { "Zhaldor &5.5 Bases", "V5.5Base", 1 },
    { "Custom habilidades como &Campos", "CustSkillField", 1 },
    { "&Todas las habilidades en percentiles", "AllPercent", 0 },
    { "&Clip puntos de habilidades", "TrimSkills", 1 },
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
        const DisplayOptionInfo& info = displayOptionInfo(option);
        displayOptions().set(option, Profile::readInt(kSection, info.value, info.defaultValue) != 0);
    }
}

bool toggleDisplayOption(DisplayOption option)
{
    const bool on = !displayOptions().get(option);
    displayOptions().set(option, on);
    Profile::writeInt(kSection, displayOptionInfo(option).value, on ? 1 : 0);
    return on;
}

} // namespace vorpane
