#pragma once
// The stored fields of an Investigator in the order the investigator file writes them, each with
// its key and either its text or its integer member.

#include "investigator/investigator.h"

#include <span>

namespace vorpane {

struct InvestigatorField {
    const char* key;
    std::string Investigator::*text; // null for an integer field
    int Investigator::*number; // null for a text field
};

// Name ... EntitiesEncountered, SkillPoints, InterestPoints.
std::span<const InvestigatorField> investigatorFields();

// The field whose key equals key ignoring case, or null.
const InvestigatorField* findInvestigatorField(std::string_view key);

} // namespace vorpane
