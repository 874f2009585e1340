#include "rules/occupation_def.h"

namespace vorpane {

std::string OccupationDef::displayName() const
{
    return !name.empty() && name.front() == '*' ? name.substr(1) : name;
}

std::string_view itemSkillName(std::string_view item) { return item.substr(0, item.find('$')); }

std::string_view itemNote(std::string_view item)
{
    const size_t dollar = item.find('$');
    return dollar == std::string_view::npos ? std::string_view() : item.substr(dollar + 1);
}

} // namespace vorpane
