#pragma once
// Helpers of the investigator script tests: the fixture folder, conversions between the core's
// Windows-1252 and readable test texts, and investigators' entries.

#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "recorded_texts.h"
#include "scripted_dice.h"

#include <QStringList>
#include <vector>

namespace vorpane::test {

inline std::string w(const QString& utf8) { return toCp1252(utf8); }
inline QString u(const std::string& text) { return fromCp1252(text); }

inline std::string fixtureFolder()
{
    return qEnvironmentVariable("VORPANE_SOURCE_DIR").toStdString() + "/tests/data/investigator_scripts/";
}

inline SkillEntry& addSkill(Investigator& inv, const QString& name, const char* base, int current)
{
    SkillEntry& entry = inv.addEntry(std::make_unique<Skill>(w(name), base, kAllEraFlags), false);
    entry.current = current;
    return entry;
}

// A special skill with base "01" whose subskills get the given names ("" leaves one unnamed).
inline void addSpecial(Investigator& inv, const QString& name, const QStringList& subNames)
{
    auto def = std::make_unique<SpecialSkill>(w(name), "01", kAllEraFlags, int(subNames.size()), true);
    for (int i = 0; i < subNames.size(); ++i)
        def->subSkill(i)->setName(w(subNames[i]));
    inv.addEntry(std::move(def), false);
}

int runScriptObjectTests(int argc, char** argv);
int runRuleScriptTests(int argc, char** argv);
int runSheetCheckTests(int argc, char** argv);
int runOccupationSetupTests(int argc, char** argv);
int runCliCommandTests(int argc, char** argv);
int runCliHostileNameTests(int argc, char** argv);

} // namespace vorpane::test
