#pragma once
// Investigators the tests share: a small one with every kind of entry.

#include "investigator/investigator.h"
#include "platform/recording_ui.h"
#include "scripted_dice.h"

#include <QString>
#include <vector>

namespace vorpane::test {

// A special skill with named subskills, added as the rule set's "Give skills" would.
inline SpecialSkill& addSpecial(Investigator& inv, const std::string& name,
    const std::vector<std::string>& subNames, bool occupational = false)
{
    auto def = std::make_unique<SpecialSkill>(name, "05", kAllEraFlags, int(subNames.size()), true);
    for (size_t i = 0; i < subNames.size(); ++i)
        def->subSkill(int(i))->setName(subNames[i]);
    SkillEntry& entry = inv.addEntry(std::move(def), occupational);
    return static_cast<SpecialSkill&>(*entry.definition);
}

// An investigator with characteristics, texts and one entry of every stored kind.
inline Investigator sampleInvestigator()
{
    Investigator inv;
    inv.RuleFile = "default.rul";
    inv.Name = "Ana \"la Roja\" Vidal";
    inv.Occupation = "Anticuaria";
    inv.Sex = "Mujer";
    inv.Age = 34;
    inv.Era = 1;
    inv.APA = 12, inv.CON = 11, inv.DES = 14, inv.EDU = 17, inv.INT = 15, inv.POD = 13, inv.TAM = 10,
    inv.FUE = 9;
    inv.COR = 60, inv.PV = 11, inv.Magic = 13;
    inv.Player = "Marta";
    inv.History = "Nacida en {Bilbao}.\r\nViajó a \"El Cairo\"";
    inv.Insanities = "Fobia";
    inv.SkillPoints = 340;
    inv.InterestPoints = 150;
    inv.addEntry(std::make_unique<Skill>("Buscar Libros", "25", kAllEraFlags), true).current = 70;
    inv.addEntry(std::make_unique<Skill>("Esquivar", "^DES2", kAllEraFlags), false);
    addSpecial(inv, "Arte", { "Pintura", "Canto" }, true);
    inv.addEntry(std::make_unique<Firearm>("Revólver .38", "20", kAllEraFlags,
                     FirearmStats { "1D10", "15 m", "2", "6", "10", "00" }),
        false);
    inv.addEntry(
        std::make_unique<Melee>("*Puñetazo", "50", kAllEraFlags, MeleeStats { "1D3+bd", "1", "--" }), false);
    inv.entries()[1]->checked = 1;
    return inv;
}

} // namespace vorpane::test
