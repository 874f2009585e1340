#include "investigator/new_investigator.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "rules/rule_set_cache.h"

namespace vorpane {

bool setRuleFile(Investigator& inv, const std::string& fileName)
{
    const std::optional<std::string> used = RuleSetCache::instance().ruleFileToUse(fileName);
    if (!used)
        return false;
    inv.RuleFile = *used;
    return true;
}

bool giveRuleSkills(Investigator& inv)
{
    return RuleSetCache::instance().giveSkills(ruleFileOrDefault(inv.RuleFile), inv.Era, inv);
}

void rollNewInvestigator(Investigator& inv)
{
    rollCharacteristics(inv);
    inv.removeAllEntries();
    giveRuleSkills(inv);
    // Given skills start at their base; the status panes need the base values as well.
    computeBaseValues(inv);
    inv.sort();
}

bool createInvestigator(Investigator& inv, const std::string& ruleFile, int era)
{
    if (!setRuleFile(inv, ruleFile))
        return false;
    inv.Era = era;
    rollNewInvestigator(inv);
    return true;
}

} // namespace vorpane
