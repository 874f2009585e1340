#include "investigator/sheet_check.h"

#include "investigator/base_formula.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/dice_expression.h"
#include "rules/text_case.h"

#include <algorithm>
#include <climits>

namespace vorpane {

namespace {

constexpr long long kSanityPerPower = 5;

struct CharacteristicLine {
    int Investigator::*field;
    const char* line;
};

constexpr CharacteristicLine kCharacteristicLines[] = {
    { &Investigator::APA, "La APA del investigador no fue asignada" },
    { &Investigator::CON, "La CON del investigador no fue asignada" },
    { &Investigator::DES, "La DES del investigador no fue asignada" },
    { &Investigator::EDU, "La EDU del investigador no fue asignada" },
    { &Investigator::INT, "La INT del investigador no fue asignada" },
    { &Investigator::POD, "El POD del investigador no fue asignado" },
    { &Investigator::TAM, "El TAM del investigador no fue asignado" },
    { &Investigator::FUE, "La FUE del investigador no fue asignada" },
};

std::string number(long long value) { return std::to_string(value); }

// A Base that is a plain number: one optional leading 'F' or '*', then digits only.
bool isPlainNumberBase(std::string_view base)
{
    if (!base.empty() && (base.front() == 'F' || base.front() == '*'))
        base.remove_prefix(1);
    for (char c : base) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string parentDisplayName(const SkillEntry& entry)
{
    const SpecialSkill* parent = entry.parent();
    return parent ? std::string(skipLeadingStars(parent->name())) : std::string();
}

class Report {
public:
    Report() { ui().output().clear(); }

    void line(const std::string& text) { ui().output().addLine(text); }
    void error(const std::string& text)
    {
        line(text);
        ++m_errors;
    }
    int errors() const { return m_errors; }

private:
    int m_errors = 0;
};

// Missing name, occupation and sex, and unassigned characteristics. False when a characteristic is
// missing.
bool checkPersonalData(const Investigator& inv, Report& report)
{
    if (inv.Name.empty())
        report.error("Investigador sin nombre     ");
    if (inv.Occupation.empty())
        report.error(cp1252("Investigador sin profesión        "));
    if (inv.Sex.empty())
        report.error("Investigador sin sexo...      ");
    bool allAssigned = true;
    for (const CharacteristicLine& c : kCharacteristicLines) {
        if (inv.*c.field < 0) {
            report.error(c.line);
            allAssigned = false;
        }
    }
    return allAssigned;
}

// False when sanity is out of bounds.
bool checkSanity(const Investigator& inv, Report& report)
{
    const long long startingSanity = kSanityPerPower * inv.POD;
    if (startingSanity <= 0)
        return true;
    bool inBounds = true;
    if (inv.findSkill(kMythosSkill) && inv.COR > maximumSanity(inv)) {
        report.error("La COR del investigador es mayor que 99 - los Mitos de Zhaldor      ");
        inBounds = false;
    }
    if (inv.COR > startingSanity) {
        report.error(cp1252("La COR del investigador es mayor que su valor máximo de COR de ")
            + number(startingSanity) + "   ");
        inBounds = false;
    }
    return inBounds;
}

// The points spent on the skills, with a line for every skill below its minimum and every unnamed
// subskill that holds points.
long long checkSkills(const Investigator& inv, Report& report)
{
    long long spent = 0;
    for (const auto& entry : inv.entries()) {
        const int base = BaseFormula::value(entry->base(), inv);
        if (entry->current < base) {
            report.error("\"" + checkDisplayName(*entry)
                + "\" has been allocated less than its minimum value (" + number(base) + "%)");
            continue;
        }
        spent += static_cast<long long>(entry->current) - entry->baseValue;
        if (entry->kind() == SkillKind::SubSkill && entry->name().empty()
            && (entry->current > entry->baseValue || !isPlainNumberBase(entry->base())))
            report.error(
                "Un sub-item de " + parentDisplayName(*entry) + " tiene asignados puntos, pero no nombre");
    }
    return spent;
}

void checkBudget(const Investigator& inv, long long spent, Report& report)
{
    const long long budget = static_cast<long long>(inv.SkillPoints) + inv.InterestPoints;
    if (spent > budget)
        report.error(
            cp1252("Se excedieron en ") + number(spent - budget) + cp1252(" los ptos de asignación  "));
    else if (spent < budget)
        report.error("Quedan " + number(budget - spent) + " puntos por repartir    ");
    else
        report.line(number(spent) + " puntos repartidos");
}

// The name the improvement reports: unnamed subskills as "<parent> unnamed subskill".
std::string improvementName(const SkillEntry& entry)
{
    if (entry.kind() == SkillKind::SubSkill && entry.name().empty())
        return parentDisplayName(entry) + " unnamed subskill";
    return checkDisplayName(entry);
}

} // namespace

std::string checkDisplayName(const SkillEntry& entry)
{
    const std::string own(skipLeadingStars(entry.name()));
    if (entry.kind() != SkillKind::SubSkill)
        return own;
    return parentDisplayName(entry) + ":" + entry.name();
}

int checkSheet(const Investigator& inv)
{
    Report report;
    report.line("Probando Investigador...");
    bool allAssigned = checkPersonalData(inv, report);
    if (!checkSanity(inv, report))
        allAssigned = false;
    if (allAssigned)
        checkBudget(inv, checkSkills(inv, report), report);

    OutputModel& output = ui().output();
    if (report.errors() > 0) {
        report.line(cp1252("El Investigador falló en : ") + number(report.errors()) + " errores   ");
        output.show();
    } else {
        const char* const done = "Testeo del Investigador finalizado.";
        report.line(done);
        output.hide();
        showMessage(done, {}, MsgIcon::Information);
    }
    return report.errors();
}

bool improveSkills(Investigator& inv, InvestigatorHistory& history)
{
    DiceExpression dice;
    return improveSkills(inv, history, dice);
}

bool improveSkills(Investigator& inv, InvestigatorHistory& history, DiceExpression& dice)
{
    if (!confirmImprovement())
        return false;
    history.checkpoint(inv);
    improveCheckedSkills(inv, dice);
    return true;
}

bool confirmImprovement()
{
    return askYesNo(cp1252("¿Seguro que quieres actualizar las habil. al final de una campaña?  "));
}

void improveCheckedSkills(Investigator& inv, DiceExpression& dice)
{
    OutputModel& output = ui().output();
    output.clear();
    output.addLine("Testando habilidades...  ");
    for (const auto& entry : inv.entries()) {
        if (!entry->checked)
            continue;
        output.addLine("Rolling D100 for skill " + improvementName(*entry) + ", which is currently at "
            + number(entry->current) + "%...");
        const int roll = dice.evaluate("D100");
        output.addLine("    Rolled: " + number(roll));
        if (roll > entry->current) {
            output.addLine("    Rolling 1D10 to determine point increase...");
            const int points = dice.evaluate("D10");
            // No ceiling: a skill may pass 99, but the value must stay a number.
            entry->current
                = int(std::min<long long>(static_cast<long long>(entry->current) + points, INT_MAX));
            output.addLine("    Skill increased by " + number(points) + " points. Now at "
                + number(entry->current) + "%");
        } else {
            output.addLine("    No point increase");
        }
        output.addLine({});
        entry->checked = 0;
    }
    output.show();
    output.addLine("..listo");
}

} // namespace vorpane
