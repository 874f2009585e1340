#pragma once
// Setting up an investigator's skills for an occupation (the wizard's occupation page, and with
// an empty name its short mode): the rule set's skills of the era afresh, the occupation's
// optional skills as the caller lets the user choose them, the occupation's skills marked
// occupational, the lists sorted.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorpane {

class Investigator;
struct OccupationDef;

// One skill of an occupation's subset as the optional-skills dialog lists it.
struct OptionalSkill {
    std::string name; // cut before the first '$'
    std::string item; // as the rule file writes it, '$' note included
};

// The dialog: "choose up to count of these". Returns the indexes of the chosen skills, or nullopt
// for Cancel (a missing chooser counts as Cancel).
using OptionalSkillChooser
    = std::function<std::optional<std::vector<size_t>>(int count, const std::vector<OptionalSkill>& offered)>;

// The subset skills the dialog lists: those the rule set does not know, and those available in
// the investigator's era.
std::vector<OptionalSkill> offeredOptionalSkills(const Investigator& inv, const OccupationDef& occupation);

// The dialog's OK check: more than count chosen shows "Sólo puedes elegir %s habilidades para esta
// profesión como máx." and refuses; none chosen asks whether that is meant. True to close.
bool acceptOptionalChoice(int count, size_t chosen);

// Looks the occupation (display name) up in the investigator's rule set, loading it when needed,
// and sets the skills up. False, with inv unchanged, when the rule set or occupation is missing or
// the chooser cancels. An empty occupation only gives the rule set's skills and sorts. Occupation
// itself is left to the caller.
bool setUpOccupationSkills(
    Investigator& inv, const std::string& occupation, const OptionalSkillChooser& chooser);

} // namespace vorpane
