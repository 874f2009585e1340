#include "investigator/legacy_file.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "rules/rule_set_cache.h"
#include "rules/text_case.h"

#include <cstdint>
#include <unordered_map>

namespace vorpane {

namespace {

// The smallest entry: current, base, occupational and an AnySkill kind.
constexpr size_t kMinEntrySize = 4 * sizeof(int32_t);
constexpr int kEraBits[] = { kEraFlag1890s, kEraFlag1920s, kEraFlag1990s };

// Reads items from the bytes; once past the end it stays failed and gives empty items.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    std::string line()
    {
        const size_t end = m_failed ? std::string_view::npos : m_bytes.find('\n', m_pos);
        if (end == std::string_view::npos) {
            m_failed = true;
            return {};
        }
        std::string text(m_bytes.substr(m_pos, end - m_pos));
        m_pos = end + 1;
        return text;
    }

    int integer()
    {
        if (m_failed || m_bytes.size() - m_pos < sizeof(int32_t)) {
            m_failed = true;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < sizeof(int32_t); ++i)
            value |= uint32_t(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
        m_pos += sizeof(int32_t);
        return static_cast<int32_t>(value);
    }

    size_t remaining() const { return m_failed ? 0 : m_bytes.size() - m_pos; }
    bool failed() const { return m_failed; }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
    bool m_failed = false;
};

class ByteWriter {
public:
    void line(std::string_view text)
    {
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                continue;
            m_out += c == '\n' ? ' ' : c;
        }
        m_out += '\n';
    }

    void integer(int value)
    {
        const auto bits = static_cast<uint32_t>(value);
        for (size_t i = 0; i < sizeof(int32_t); ++i)
            m_out += char((bits >> (8 * i)) & 0xFF);
    }

    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

struct StoredFields {
    std::string Investigator::*lines[6];
    int Investigator::*characteristics[8];
    int Investigator::*derived[3];
    std::string Investigator::*extraLines[4];
};

constexpr StoredFields kStored = {
    { &Investigator::Name, &Investigator::Occupation, &Investigator::Birthplace, &Investigator::Colleges,
        &Investigator::MentalDisorders, &Investigator::Sex },
    { &Investigator::APA, &Investigator::CON, &Investigator::DES, &Investigator::EDU, &Investigator::INT,
        &Investigator::POD, &Investigator::TAM, &Investigator::FUE },
    { &Investigator::COR, &Investigator::PV, &Investigator::Magic },
    { &Investigator::Affiliation, &Investigator::CodeName, &Investigator::CurrentDate,
        &Investigator::Insanities },
};

// Reads a definition of the given kind after its kind number; null for an unknown kind.
std::unique_ptr<SkillDef> readDefinition(ByteReader& in, int kind, std::string& parentName)
{
    if (kind == int(SkillKind::AnySkill))
        return std::make_unique<AnySkill>(kAllEraFlags);
    if (kind < int(SkillKind::Skill) || kind > int(SkillKind::SubSkill))
        return nullptr;
    std::string name = in.line();
    std::string base = in.line();
    EraFlags eras = 0;
    for (int bit : kEraBits) {
        if (in.integer() != 0)
            eras |= bit;
    }
    switch (SkillKind(kind)) {
    case SkillKind::Skill:
        return std::make_unique<Skill>(std::move(name), std::move(base), eras);
    case SkillKind::Firearm: {
        FirearmStats s;
        for (std::string* stat : { &s.dmg, &s.range, &s.shots, &s.bullets, &s.pv, &s.mal })
            *stat = in.line();
        return std::make_unique<Firearm>(std::move(name), std::move(base), eras, std::move(s));
    }
    case SkillKind::Melee: {
        MeleeStats s;
        for (std::string* stat : { &s.dmg, &s.attacks, &s.pv })
            *stat = in.line();
        return std::make_unique<Melee>(std::move(name), std::move(base), eras, std::move(s));
    }
    case SkillKind::SpecialSkill: {
        const int count = in.integer();
        return std::make_unique<SpecialSkill>(std::move(name), std::move(base), eras, count, false);
    }
    case SkillKind::SubSkill: {
        parentName = in.line();
        auto sub = std::make_unique<SubSkill>(nullptr, std::move(base), eras);
        sub->setName(std::move(name));
        return sub;
    }
    default:
        return nullptr;
    }
}

// Entries read so far by name key, the first of each name, as the skill lookup would find them.
using EntriesByName = std::unordered_map<std::string, SkillEntry*>;

// Hangs a subskill under the special skill of that name read so far; false when there is none.
bool attachSubSkill(Investigator& inv, const EntriesByName& byName, std::unique_ptr<SkillDef> def,
    const std::string& parentName, std::unique_ptr<SkillEntry> entry)
{
    const auto found = byName.find(nameKey(parentName));
    if (found == byName.end() || found->second->kind() != SkillKind::SpecialSkill)
        return false;
    auto* parent = static_cast<SpecialSkill*>(found->second->definition.get());
    auto* sub = static_cast<SubSkill*>(def.get());
    sub->setParent(parent);
    for (int slot = 0; slot < parent->subSkillCount(); ++slot) {
        if (!parent->subSkill(slot)) {
            parent->setSubSkill(slot, sub);
            break;
        }
    }
    entry->definition = std::move(def);
    inv.appendEntry(std::move(entry));
    return true;
}

bool readEntries(ByteReader& in, Investigator& inv)
{
    const int count = in.integer();
    if (count < 0 || size_t(count) > in.remaining() / kMinEntrySize)
        return false;
    EntriesByName byName;
    for (int i = 0; i < count; ++i) {
        auto entry = std::make_unique<SkillEntry>();
        entry->current = in.integer();
        entry->baseValue = in.integer();
        entry->occupational = in.integer();
        const int kind = in.integer();
        std::string parentName;
        std::unique_ptr<SkillDef> def = readDefinition(in, kind, parentName);
        if (!def || in.failed())
            return false;
        const std::string key = nameKey(def->name());
        SkillEntry* added = nullptr;
        if (def->kind() == SkillKind::SubSkill) {
            if (!attachSubSkill(inv, byName, std::move(def), parentName, std::move(entry)))
                continue;
            added = inv.entries().back().get();
        } else {
            entry->definition = std::move(def);
            added = &inv.appendEntry(std::move(entry));
        }
        byName.emplace(key, added);
    }
    return true;
}

void writeDefinition(ByteWriter& out, const SkillDef& def)
{
    out.integer(int(def.kind()));
    if (def.kind() == SkillKind::AnySkill)
        return;
    out.line(def.name());
    out.line(def.base());
    for (int bit : kEraBits)
        out.integer(def.eras() & bit);
    switch (def.kind()) {
    case SkillKind::Firearm: {
        const FirearmStats& s = static_cast<const Firearm&>(def).stats();
        for (const std::string* stat : { &s.dmg, &s.range, &s.shots, &s.bullets, &s.pv, &s.mal })
            out.line(*stat);
        break;
    }
    case SkillKind::Melee: {
        const MeleeStats& s = static_cast<const Melee&>(def).stats();
        for (const std::string* stat : { &s.dmg, &s.attacks, &s.pv })
            out.line(*stat);
        break;
    }
    case SkillKind::SpecialSkill:
        out.integer(static_cast<const SpecialSkill&>(def).subSkillCount());
        break;
    case SkillKind::SubSkill: {
        const SpecialSkill* parent = static_cast<const SubSkill&>(def).parent();
        out.line(parent ? parent->name() : std::string());
        break;
    }
    default:
        break;
    }
}

// Kinds the format has a number for; an empty definition would make the file unreadable.
bool isStorable(const SkillEntry& entry) { return entry.kind() != SkillKind::Empty; }

const char* writeError(int version)
{
    return version == 1 ? "Could not write Vorpane 1.0 file" : "Could not write Vorpane 2.0 file";
}

} // namespace

bool LegacyFile::read(std::string_view bytes, int version, Investigator& inv)
{
    ByteReader in(bytes);
    in.line(); // the header, already recognised
    for (auto field : kStored.lines)
        inv.*field = in.line();
    inv.Age = in.integer();
    inv.Era = in.integer();
    inv.Portrait = in.line();
    for (auto field : kStored.characteristics)
        inv.*field = in.integer();
    if (in.failed() || !readEntries(in, inv))
        return false;
    inv.Player = in.line();
    computeDerivedValues(inv);
    if (version == 2) {
        for (auto field : kStored.derived)
            inv.*field = in.integer();
        for (auto field : kStored.extraLines)
            inv.*field = in.line();
    }
    if (in.failed())
        return false;

    // Free-choice placeholders and unnamed subskills are not kept.
    inv.removeEntriesIf([](const SkillEntry& entry) { return skipLeadingStars(entry.name()).empty(); });
    inv.sort();
    if (inv.RuleFile.empty())
        inv.RuleFile = RuleSetCache::kDefaultRuleFile;
    RuleSetCache::instance().ensureLoaded(inv.RuleFile);
    computeBaseValues(inv);
    return true;
}

std::string LegacyFile::bytes(const Investigator& inv, int version)
{
    ByteWriter out;
    out.line(version == 1 ? "INV10" : "INV20");
    for (auto field : kStored.lines)
        out.line(inv.*field);
    out.integer(inv.Age);
    out.integer(inv.Era);
    out.line(inv.Portrait);
    for (auto field : kStored.characteristics)
        out.integer(inv.*field);
    int count = 0;
    for (const auto& entry : inv.entries())
        count += isStorable(*entry) ? 1 : 0;
    out.integer(count);
    for (const auto& entry : inv.entries()) {
        if (!isStorable(*entry))
            continue;
        out.integer(entry->current);
        out.integer(entry->baseValue);
        out.integer(entry->occupational);
        writeDefinition(out, *entry->definition);
    }
    out.line(inv.Player);
    if (version == 2) {
        for (auto field : kStored.derived)
            out.integer(inv.*field);
        for (auto field : kStored.extraLines)
            out.line(inv.*field);
    }
    return out.take();
}

bool LegacyFile::exportFile(const std::string& path, const Investigator& inv, int version)
{
    switch (saveFile(path, bytes(inv, version))) {
    case SaveResult::Saved:
        return true;
    case SaveResult::CannotOpen:
        showMessage("Could not open file for output!", {}, MsgIcon::Error);
        return false;
    case SaveResult::CannotWrite:
        break;
    }
    showMessage(writeError(version), {}, MsgIcon::Error);
    return false;
}

std::string LegacyFile::proposedName(const std::string& documentPath, int version)
{
    return documentPath + (version == 1 ? "_10.inv" : "_20.inv");
}

} // namespace vorpane
