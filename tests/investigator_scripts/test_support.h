#pragma once
// Helpers of the investigator script tests: a recording Ui, dice with known faces, the fixture
// folder and conversions between the core's Windows-1252 and readable test texts.

#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/recording_ui.h"
#include "rules/dice_expression.h"

#include <QStringList>
#include <vector>

namespace vorpane::test {

inline std::string w(const QString& utf8) { return toCp1252(utf8); }
inline QString u(const std::string& text) { return fromCp1252(text); }

class ScopedUi {
public:
    ScopedUi() { installUi(&ui); }
    ~ScopedUi() { installUi(nullptr); }

    QStringList boxes() const
    {
        QStringList texts;
        for (const RecordingUi::Box& box : ui.boxes)
            texts << u(box.text);
        return texts;
    }
    QStringList lines()
    {
        QStringList texts;
        for (const std::string& line : ui.output().lines())
            texts << u(line);
        return texts;
    }
    void reset()
    {
        ui.reset();
        ui.output().hide();
    }

    RecordingUi ui;
};

// Every die shows the next face of the list, in turn.
class ScriptedDice final : public DiceExpression {
public:
    explicit ScriptedDice(std::vector<int> faces)
        : m_faces(std::move(faces))
    {
    }

protected:
    int rollOneDie(int) override { return m_faces[m_next++ % m_faces.size()]; }

private:
    std::vector<int> m_faces;
    size_t m_next = 0;
};

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

} // namespace vorpane::test
