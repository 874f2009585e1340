#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_field.h"
#include "investigator/investigator_file.h"
#include "investigator/legacy_file.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "rules/block_reader.h"
#include "rules/row_reader.h"
#include "rules/text_case.h"

namespace vorpane {

namespace {

constexpr const char* kClassName = "Investigator";

void error(const std::string& message) { showMessage(message, {}, MsgIcon::Error); }

void warning(const std::string& message) { showMessage(message, {}, MsgIcon::Warning); }

bool is(std::string_view word, std::string_view expected) { return equalsIgnoreCase(word, expected); }

int toInt(std::string_view text) { return parseDecimal(std::string(text)); }

// Name, Base and the weapon statistics go to the definition, Current, Occupational and Checked
// to the entry; false for any other key.
bool setEntryValue(SkillEntry& entry, std::string_view key, std::string_view value)
{
    SkillDef& def = *entry.definition;
    if (is(key, "Name")) {
        def.setName(std::string(value));
    } else if (is(key, "Base")) {
        def.setBase(std::string(value));
    } else if (is(key, "Current")) {
        entry.current = toInt(value);
    } else if (is(key, "Occupational")) {
        entry.occupational = toInt(value);
    } else if (is(key, "Checked")) {
        entry.checked = toInt(value);
    } else if (def.kind() == SkillKind::Firearm) {
        FirearmStats& s = static_cast<Firearm&>(def).stats();
        std::string* stat = is(key, "Dmg") ? &s.dmg
            : is(key, "Range")             ? &s.range
            : is(key, "Shots")             ? &s.shots
            : is(key, "Bullets")           ? &s.bullets
            : is(key, "PV")                ? &s.pv
            : is(key, "MAL")               ? &s.mal
                                           : nullptr;
        if (!stat)
            return false;
        *stat = value;
    } else if (def.kind() == SkillKind::Melee) {
        MeleeStats& s = static_cast<Melee&>(def).stats();
        std::string* stat = is(key, "Dmg") ? &s.dmg
            : is(key, "Attacks")           ? &s.attacks
            : is(key, "PV")                ? &s.pv
                                           : nullptr;
        if (!stat)
            return false;
        *stat = value;
    } else {
        return false;
    }
    return true;
}

// The pairs of an entry's body; its inner blocks are skipped.
void readEntryValues(SkillEntry& entry, std::string_view body)
{
    forEachItem(body, [&entry](const BlockItem& item) {
        if (item.kind == BlockItem::Pair)
            setEntryValue(entry, item.key, item.value);
        return true;
    });
}

class Reader {
public:
    Reader(Investigator& inv, std::string& sheetScript)
        : m_inv(inv)
        , m_sheetScript(sheetScript)
    {
    }

    bool readSections(std::string_view text);

private:
    void readSheet(std::string_view body);
    void readInvestigator(std::string_view body);
    void readSkills(std::string_view body);
    void readEntry(std::unique_ptr<SkillDef> def, std::string_view body);
    void readSpecialSkill(std::string_view body);
    void readSubSkill(SpecialSkill& parent, int slot, std::string_view body);

    Investigator& m_inv;
    std::string& m_sheetScript;
};

bool Reader::readSections(std::string_view text)
{
    bool skipped = false;
    const bool read = forEachSection(text, [&](std::string_view word, std::string_view body) {
        if (is(word, "Investigator")) {
            readInvestigator(body);
        } else if (is(word, "Sheet")) {
            readSheet(body);
        } else {
            ui().output().addLine("Skipping Unknown section type in investigator file: " + std::string(word));
            skipped = true;
        }
    });
    if (!read)
        return false;
    if (skipped)
        ui().output().show();
    return true;
}

void Reader::readSheet(std::string_view body)
{
    forEachItem(body, [this](const BlockItem& item) {
        if (item.kind != BlockItem::Pair)
            return true;
        if (is(item.key, "Script")) {
            m_sheetScript = item.value;
        } else if (is(item.key, "Class") && !item.value.empty() && !is(item.value, kClassName)) {
            warning("This file contains a class of " + std::string(item.value)
                + ".\nThis version of vorpane can only deal with Investigator classes");
        }
        return true;
    });
}

void Reader::readInvestigator(std::string_view body)
{
    forEachItem(body, [this](const BlockItem& item) {
        if (item.kind == BlockItem::Block) {
            if (is(item.key, "Skills"))
                readSkills(item.value);
        } else if (const InvestigatorField* field = findInvestigatorField(item.key)) {
            if (field->text)
                m_inv.*field->text = item.value;
            else
                m_inv.*field->number = toInt(item.value);
        }
        return true;
    });
}

void Reader::readSkills(std::string_view body)
{
    forEachItem(body, [this](const BlockItem& item) {
        if (item.kind != BlockItem::Block)
            return true;
        if (is(item.key, "Skill"))
            readEntry(std::make_unique<Skill>("", "", kAllEraFlags), item.value);
        else if (is(item.key, "Firearm"))
            readEntry(std::make_unique<Firearm>(kAllEraFlags), item.value);
        else if (is(item.key, "Melee"))
            readEntry(std::make_unique<Melee>(kAllEraFlags), item.value);
        else if (is(item.key, "SpecialSkill"))
            readSpecialSkill(item.value);
        return true;
    });
}

void Reader::readEntry(std::unique_ptr<SkillDef> def, std::string_view body)
{
    SkillEntry& entry = m_inv.appendEntry(std::make_unique<SkillEntry>(std::move(def)));
    readEntryValues(entry, body);
}

void Reader::readSubSkill(SpecialSkill& parent, int slot, std::string_view body)
{
    auto def = std::make_unique<SubSkill>(&parent, "", kAllEraFlags);
    parent.setSubSkill(slot, def.get());
    SkillEntry& entry = m_inv.appendEntry(std::make_unique<SkillEntry>(std::move(def)));
    readEntryValues(entry, body);
}

void Reader::readSpecialSkill(std::string_view body)
{
    // First pass: only the declared number of subskills.
    int declared = 0;
    forEachItem(body, [&declared](const BlockItem& item) {
        if (item.kind == BlockItem::Pair && is(item.key, "SubSkills"))
            declared = toInt(item.value);
        return true;
    });
    if (declared <= 0) {
        warning("Warning: Subskill section has no subskills!");
        return;
    }
    // The definition caps its table; a larger count only comes from a damaged file.
    const int count = std::min(declared, kMaxSubSkillCount);
    auto def = std::make_unique<SpecialSkill>("", "", kAllEraFlags, count, false);
    SpecialSkill& special = *def;
    SkillEntry& entry = m_inv.appendEntry(std::make_unique<SkillEntry>(std::move(def)));

    int read = 0;
    forEachItem(body, [&](const BlockItem& item) {
        if (item.kind == BlockItem::Pair) {
            setEntryValue(entry, item.key, item.value);
        } else if (is(item.key, "SubSkill")) {
            if (read == count) {
                warning("Warning: Too many subskills for special skill");
                return false;
            }
            readSubSkill(special, read++, item.value);
        }
        return true;
    });
    if (read < count) {
        warning("Warning: Too few subskills defined!");
        for (; read < count; ++read) {
            auto sub = std::make_unique<SubSkill>(&special, "", kAllEraFlags);
            special.setSubSkill(read, sub.get());
            m_inv.appendEntry(std::make_unique<SkillEntry>(std::move(sub)));
        }
    }
}

// The first word of the file, up to a blank, TAB, CR or LF.
std::string_view headerWord(std::string_view text)
{
    size_t start = 0;
    while (start < text.size()
        && (text[start] == ' ' || text[start] == '\t' || text[start] == '\r' || text[start] == '\n'))
        ++start;
    size_t end = start;
    while (
        end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' && text[end] != '\n')
        ++end;
    return text.substr(start, end - start);
}

} // namespace

bool InvestigatorFile::read(std::string_view bytes, Investigator& inv, std::string& sheetScript)
{
    // The text ends at its first NUL, as the buffer the file is read into does.
    const std::string_view text = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
    const std::string_view header = headerWord(text);

    Investigator loaded;
    std::string script;
    if (header == "INV10" || header == "INV20") {
        if (!LegacyFile::read(bytes, header == "INV10" ? 1 : 2, loaded))
            return false;
    } else if (is(header, "INV")) {
        Reader reader(loaded, script);
        if (!reader.readSections(text.substr(size_t(header.data() - text.data()) + header.size())))
            return false;
        // Once everything is read, so that a Base naming a skill further down the file finds it.
        computeBaseValues(loaded);
    } else {
        error("Unknown file format: unknown file header");
        return false;
    }
    if (loaded.SkillPoints <= 0 || loaded.InterestPoints <= 0)
        computeBudgets(loaded);
    inv = std::move(loaded);
    sheetScript = std::move(script);
    return true;
}

bool InvestigatorFile::load(const std::string& path, Investigator& inv, std::string& sheetScript)
{
    std::string bytes, failure;
    if (!readWholeFile(path, kMaxFileSize, "Cannot open investigator file", bytes, failure)) {
        error(failure);
        return false;
    }
    return read(bytes, inv, sheetScript);
}

} // namespace vorpane
