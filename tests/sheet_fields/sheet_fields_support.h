#pragma once
// Shared by the investigator sheet tests: a document with a known investigator, the profile in a
// temporary file, and placements made without a script.

#include "platform/recording_ui.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet.h"
#include "sheet/sheet_layout.h"

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace vorpane::test {

// A recording Ui and the profile in a fresh temporary file, for the life of a test.
class TestEnvironment {
public:
    TestEnvironment();
    ScopedRecordingUi ui;

private:
    QTemporaryDir m_dir;
};

SkillEntry& addSkill(Investigator& inv, const std::string& name, const std::string& base, int current = -1);
// A special skill with one subskill per name (an empty name is an unnamed subskill).
SkillEntry& addSpecial(Investigator& inv, const std::string& name, const std::string& base,
    const std::vector<std::string>& subSkills);
SkillEntry& addFirearm(Investigator& inv, const std::string& name, const std::string& base);
SkillEntry& addMelee(Investigator& inv, const std::string& name, const std::string& base);

// An investigator sheet over a document, abbreviations from the given text of options.lst.
struct SheetFixture {
    explicit SheetFixture(const std::string& abbreviations = {});
    InvestigatorDocumentModel document;
    SheetLayout layout;
    std::unique_ptr<InvestigatorSheet> sheet;

    Investigator& inv() { return document.investigator(); }
    // Places the field with that id in a 10 x 5 mm box on row `row`; asserts it exists.
    PlacedField& place(int32_t id, int row = 0);
    PlacedField& place(const std::string& name, int row = 0);
    void setParameter(int32_t key, int32_t value);
    SheetField& field(const std::string& name);
};

} // namespace vorpane::test
