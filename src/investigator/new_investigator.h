#pragma once
// How an investigator meets its rule set (by name, through the RuleSetCache), and the new
// investigator made without the wizard: rolled, given the rule set's skills, sorted.

#include <string>

namespace vorpane {

class Investigator;

// Makes sure the named rule set is cached, falling back to "default.rul", and stores the name
// used in RuleFile. False, with the investigator unchanged, when neither loads.
bool setRuleFile(Investigator& inv, const std::string& fileName);

// Gives every skill of the investigator's rule set available in its era, then the '*' melee
// weapons of that era, not occupational. False, giving nothing, when the rule set is not cached.
bool giveRuleSkills(Investigator& inv);

// A new document's investigator without the wizard: characteristics rolled, every entry removed,
// the rule set's skills given, base values computed and the lists sorted.
void rollNewInvestigator(Investigator& inv);

// The new-document command without the wizard: rule file (see setRuleFile) and era set, then
// rolled. False when the rule file cannot be loaded.
bool createInvestigator(Investigator& inv, const std::string& ruleFile, int era);

} // namespace vorpane
