#pragma once
// The short summary of an investigator that the wizard's floating window shows: a title line, four
// rows of three characteristics and the result of the education roll. Texts are Windows-1252.

#include <array>
#include <string>

namespace vorpane {

class Investigator;

struct InvestigatorSummary {
    std::string title; // "1920s Abogado", or "Investigador 1920s" without an occupation
    std::array<std::array<std::string, 3>, 4> rows; // "APA: 12" ... "Magia: 11"
    std::string schooling; // empty when there was no extra year of studies
};

// "1890", "1920" or "1990" for eras 0 to 2; "INTERNAL ERROR" for any other.
std::string eraYearText(int era);

InvestigatorSummary investigatorSummary(const Investigator& inv);

} // namespace vorpane
