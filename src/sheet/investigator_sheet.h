#pragma once
// The investigator sheet: the field table of an investigator document and the host that reads and
// writes its computed fields, binds the skill and weapon tables after every run and draws their
// rows. One per investigator sheet view (or render); it registers the fields and the three sheet
// parameters in the layout and installs itself as the layout's host.
//
// Fields, in registration order: the texts and numbers of the investigator with automatic ids
// (name = -1 ... playerName = -39), then the computed fields with fixed ids (field_id in
// investigator_table_binding.h). No investigator field is script-writable.

#include "script/script_value.h"
#include "sheet/investigator_abbreviations.h"
#include "sheet/sheet_layout.h"

#include <cstdint>
#include <string>

namespace vorpane {

class InvestigatorDocumentModel;
struct SkillEntry;

class InvestigatorSheet final : public SheetHost {
public:
    // Reads the display options from the profile and the abbreviations from the program folder.
    InvestigatorSheet(SheetLayout& layout, InvestigatorDocumentModel& document);
    // The same with abbreviations given by the caller (tests, the headless tool).
    InvestigatorSheet(SheetLayout& layout, InvestigatorDocumentModel& document, Abbreviations abbreviations);
    ~InvestigatorSheet() override;

    InvestigatorDocumentModel& document() { return m_document; }
    SheetLayout& layout() { return m_layout; }
    const Abbreviations& abbreviations() const { return m_abbreviations; }

    // --- SheetHost ---------------------------------------------------------------------------
    script::ScriptValue computedValue(const SheetField& field, const PlacedField* placement) override;
    void setComputedValue(
        const SheetField& field, const script::ScriptValue& value, PlacedField* placement) override;
    void drawItem(SheetPainter& painter, SheetItem& item) override;
    void beginReplay(SheetPainter& painter) override;
    void bindTables(SheetLayout& layout) override;
    void beforeChange(SheetField& field, PlacedField* placement) override;
    void afterChange(SheetField& field, PlacedField* placement) override;

    // The entry bound to a placement, or null (also when the binding is older than the entries).
    SkillEntry* boundEntry(const PlacedField* placement) const;

    // The percentage a cell shows, and what storing v into it keeps.
    static int shownPercent(const SkillEntry& entry);
    void storePercent(SkillEntry& entry, const script::ScriptValue& value);

    // Whether a percentage cell stays blank: the entry is at its base, its Base is a plain number
    // and "AllPercent" is off.
    static bool percentCellBlank(const SkillEntry& entry);

    // showbasepercent as the replay has it at this point (reset to 1 after a run and before a replay).
    bool showBasePercent() const { return m_showBasePercent; }

private:
    void registerFields();
    script::ScriptValue tableValue(int32_t id, SkillEntry& entry) const;
    void setTableValue(int32_t id, SkillEntry& entry, const script::ScriptValue& value);
    bool drawRow(SheetPainter& painter, PlacedField& placement);
    void drawSkillName(SheetPainter& painter, PlacedField& placement, const SkillEntry& entry);
    std::string baseText(const SkillEntry& entry) const;
    std::string label(const SkillEntry& entry, bool abbreviated) const;

    SheetLayout& m_layout;
    InvestigatorDocumentModel& m_document;
    Abbreviations m_abbreviations;
    bool m_showBasePercent = true;
    bool m_shortSheet = false; // the layout's shortsheet, read when the tables are bound
    uint64_t m_boundGeneration = 0;
};

} // namespace vorpane
