#include "investigator/investigator_summary.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "rules/text_case.h"

namespace vorpane {

namespace {

std::string value(const char* label, int number)
{
    return std::string(label) + ": " + std::to_string(number);
}

} // namespace

std::string eraYearText(int era)
{
    switch (era) {
    case kEraIndex1890s:
        return "1890";
    case kEraIndex1920s:
        return "1920";
    case kEraIndex1990s:
        return "1990";
    default:
        return "INTERNAL ERROR";
    }
}

InvestigatorSummary investigatorSummary(const Investigator& inv)
{
    InvestigatorSummary summary;
    const std::string year = eraYearText(inv.Era);
    if (inv.Occupation.empty() || equalsIgnoreCase(inv.Occupation, "(custom)"))
        summary.title = "Investigador " + year + "s";
    else
        summary.title = year + "s " + inv.Occupation;
    summary.rows = { {
        { value("APA", inv.APA), value("CON", inv.CON), value("DES", inv.DES) },
        { value("EDU", inv.EDU), value("INT", inv.INT), value("POD", inv.POD) },
        { value("TAM", inv.TAM), value("FUE", inv.FUE), value("COR", inv.COR) },
        { value("PV", inv.PV), "BD: " + damageBonus(inv), value("Magia", inv.Magic) },
    } };
    if (inv.ExtraSchooling == 1)
        summary.schooling = "(Tirada de Estudios fallada) ";
    else if (inv.ExtraSchooling == 2)
        summary.schooling = "(Tirada de Estudios superada)   ";
    return summary;
}

} // namespace vorpane
