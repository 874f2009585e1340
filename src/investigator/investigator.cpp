#include "investigator/investigator.h"

#include "investigator/base_formula.h"
#include "investigator/formula_names.h"
#include "investigator/investigator_field.h"
#include "platform/ui_services.h"
#include "rules/rule_set_cache.h"
#include "rules/text_case.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace vorpane {

namespace {

enum class Derived { None, Luck, Know, Idea, Sanity, HitPoints, MagicPoints };

struct CharacteristicName {
    FormulaName formula;
    int Investigator::*stored; // null for a computed value
    Derived derived;
};

constexpr CharacteristicName kCharacteristics[] = {
    { { "APA", "APA" }, &Investigator::APA, Derived::None },
    { { "CON", "CON" }, &Investigator::CON, Derived::None },
    { { "DES", "DES" }, &Investigator::DES, Derived::None },
    { { "EDU", "EDU" }, &Investigator::EDU, Derived::None },
    { { "INT", "INT" }, &Investigator::INT, Derived::None },
    { { "POD", "POD" }, &Investigator::POD, Derived::None },
    { { "TAM", "TAM" }, &Investigator::TAM, Derived::None },
    { { "FUE", "FUE" }, &Investigator::FUE, Derived::None },
    { { "SUER", "Suerte" }, nullptr, Derived::Luck },
    { { "CONO", "Conocimientos" }, nullptr, Derived::Know },
    { { "IDEA", "Idea" }, nullptr, Derived::Idea },
    { { "COR", "COR actual" }, nullptr, Derived::Sanity },
    { { "MAGIA", "Puntos de magia actuales" }, nullptr, Derived::MagicPoints },
    { { "PV", "Puntos de vida actuales" }, nullptr, Derived::HitPoints },
    { { "HIT", nullptr }, nullptr, Derived::HitPoints },
};

// The formula names alone, in the same order.
constexpr auto kFormulaNames = [] {
    std::array<FormulaName, std::size(kCharacteristics)> names {};
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = kCharacteristics[i].formula;
    return names;
}();

const CharacteristicName* findName(std::string_view name)
{
    for (const CharacteristicName& entry : kCharacteristics) {
        if (equalsIgnoreCase(entry.formula.name, name))
            return &entry;
    }
    return nullptr;
}

SpecialSkill* asSpecial(SkillDef* def)
{
    return def && def->kind() == SkillKind::SpecialSkill ? static_cast<SpecialSkill*>(def) : nullptr;
}

// Where an entry sorts: by the name of its group's head (a subskill's parent), the head first,
// then a parent's subskills named before unnamed, each by its own name. The original position
// breaks the remaining ties, so equal names keep their order and the result is repeatable.
struct SortKey {
    std::string primary;
    size_t group = 0;
    bool isSub = false;
    bool unnamed = false;
    std::string own;
    size_t position = 0;

    bool operator<(const SortKey& o) const
    {
        if (int c = primary.compare(o.primary); c != 0)
            return c < 0;
        if (group != o.group)
            return group < o.group;
        if (isSub != o.isSub)
            return !isSub;
        if (unnamed != o.unnamed)
            return !unnamed;
        if (int c = own.compare(o.own); c != 0)
            return c < 0;
        return position < o.position;
    }
};

// std::string compares bytes as unsigned, so accented letters sort after ASCII.
std::string sortText(std::string_view name) { return foldedCopy(name); }

} // namespace

std::span<const FormulaName> formulaNames() { return kFormulaNames; }

Investigator::~Investigator() = default;

Investigator::Investigator(const Investigator& other)
    : DefinitionSink()
{
    copyFrom(other);
}

Investigator& Investigator::operator=(const Investigator& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

void Investigator::copyFields(const Investigator& other)
{
    for (const InvestigatorField& field : investigatorFields()) {
        if (field.text)
            this->*field.text = other.*field.text;
        else
            this->*field.number = other.*field.number;
    }
}

void Investigator::copyFrom(const Investigator& other)
{
    removeAllEntries();
    RuleSetCache::instance().ensureLoaded(other.RuleFile);
    copyFields(other);

    std::unordered_map<const SkillDef*, SkillDef*> clones;
    const auto cloneView = [&](const EntryView& view) {
        for (const SkillEntry* entry : view) {
            SkillEntry& copy = appendEntry(entry->clone());
            clones[entry->definition.get()] = copy.definition.get();
        }
    };
    cloneView(other.m_firearms);
    cloneView(other.m_melee);
    cloneView(other.m_skills);

    const auto cloneOf = [&](const SkillDef* original) -> SkillDef* {
        const auto found = clones.find(original);
        return found == clones.end() ? nullptr : found->second;
    };
    for (SkillEntry* entry : m_skills) {
        if (entry->kind() == SkillKind::SubSkill) {
            auto* sub = static_cast<SubSkill*>(entry->definition.get());
            sub->setParent(asSpecial(cloneOf(sub->parent())));
        }
    }
    // The cloned tables own fresh subskill copies; point them at the copied entries instead.
    for (size_t i = 0; i < m_skills.size(); ++i) {
        auto* copy = asSpecial(m_skills[i]->definition.get());
        const auto* original = asSpecial(other.m_skills[i]->definition.get());
        if (!copy || !original || original->ownsSubSkills())
            continue;
        const auto unused = copy->releaseSubSkills();
        for (int slot = 0; slot < copy->subSkillCount(); ++slot) {
            SkillDef* mapped = cloneOf(original->subSkill(slot));
            copy->setSubSkill(slot,
                mapped && mapped->kind() == SkillKind::SubSkill ? static_cast<SubSkill*>(mapped) : nullptr);
        }
    }
}

SkillEntry* Investigator::findSkill(std::string_view name) const
{
    const std::string_view wanted = skipLeadingStars(name);
    for (const auto& entry : m_entries) {
        if (equalsIgnoreCase(skipLeadingStars(entry->name()), wanted))
            return entry.get();
    }
    return nullptr;
}

std::optional<int> Investigator::findCharacteristic(std::string_view name) const
{
    const CharacteristicName* found = findName(name);
    if (!found)
        return std::nullopt;
    switch (found->derived) {
    case Derived::None:
        return this->*found->stored;
    case Derived::Luck:
        return clampToInt(POD * 5LL);
    case Derived::Know:
        return clampToInt(EDU * 5LL);
    case Derived::Idea:
        return clampToInt(INT * 5LL);
    case Derived::Sanity:
        return COR;
    case Derived::HitPoints:
        return PV;
    case Derived::MagicPoints:
        return Magic;
    }
    return std::nullopt;
}

int Investigator::characteristic(std::string_view name) const
{
    if (const std::optional<int> value = findCharacteristic(name))
        return *value;
    showMessage("Unknown character statistic: " + std::string(name), {}, MsgIcon::Warning);
    return kFormulaError;
}

int* Investigator::characteristicField(std::string_view name)
{
    const CharacteristicName* found = findName(name);
    return found && found->stored ? &(this->*found->stored) : nullptr;
}

std::string* Investigator::textField(std::string_view key)
{
    const InvestigatorField* field = findInvestigatorField(key);
    return field && field->text ? &(this->*field->text) : nullptr;
}

int* Investigator::intField(std::string_view key)
{
    const InvestigatorField* field = findInvestigatorField(key);
    return field && field->number ? &(this->*field->number) : nullptr;
}

void Investigator::appendToView(SkillEntry* entry)
{
    switch (entry->kind()) {
    case SkillKind::Firearm:
        m_firearms.push_back(entry);
        break;
    case SkillKind::Melee:
        m_melee.push_back(entry);
        break;
    default:
        m_skills.push_back(entry);
        break;
    }
}

SkillEntry& Investigator::appendEntry(std::unique_ptr<SkillEntry> entry)
{
    if (!entry->definition)
        entry->definition = std::make_unique<SkillDef>();
    SkillEntry* raw = entry.get();
    m_entries.push_back(std::move(entry));
    appendToView(raw);
    return *raw;
}

SkillEntry& Investigator::addEntry(std::unique_ptr<SkillDef> def, bool occupational)
{
    if (!def)
        def = std::make_unique<SkillDef>();
    const int current = BaseFormula::value(def->base(), *this);
    SkillEntry& added
        = appendEntry(std::make_unique<SkillEntry>(std::move(def), current, occupational ? 1 : 0));
    if (SpecialSkill* special = asSpecial(added.definition.get())) {
        for (std::unique_ptr<SubSkill>& sub : special->releaseSubSkills()) {
            sub->setParent(special);
            const int subCurrent = BaseFormula::value(sub->base(), *this);
            appendEntry(std::make_unique<SkillEntry>(std::move(sub), subCurrent, occupational ? 1 : 0));
        }
    }
    return added;
}

void Investigator::addDefinition(std::unique_ptr<SkillDef> def, bool occupational)
{
    addEntry(std::move(def), occupational);
}

void Investigator::markSubSkills(std::vector<bool>& marked) const
{
    std::unordered_set<const SkillDef*> removedParents;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (marked[i] && m_entries[i]->kind() == SkillKind::SpecialSkill)
            removedParents.insert(m_entries[i]->definition.get());
    }
    if (removedParents.empty())
        return;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (const SpecialSkill* parent = m_entries[i]->parent(); parent && removedParents.count(parent))
            marked[i] = true;
    }
}

void Investigator::removeMarked(const std::vector<bool>& marked)
{
    std::vector<bool> all = marked;
    all.resize(m_entries.size());
    markSubSkills(all);
    std::unordered_set<const SkillEntry*> removed;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!all[i])
            continue;
        const SkillEntry* entry = m_entries[i].get();
        removed.insert(entry);
        // A subskill leaving on its own must not stay behind in its parent's table.
        if (SpecialSkill* parent = entry->parent(); parent) {
            const int slot = parent->indexOfSubSkill(entry->definition.get());
            if (slot >= 0)
                parent->setSubSkill(slot, nullptr);
        }
    }
    if (removed.empty())
        return;
    const auto gone = [&](const SkillEntry* entry) { return removed.count(entry) != 0; };
    for (EntryView* view : { &m_skills, &m_firearms, &m_melee })
        std::erase_if(*view, gone);
    std::erase_if(m_entries, [&](const std::unique_ptr<SkillEntry>& entry) { return gone(entry.get()); });
}

bool Investigator::removeEntry(const SkillEntry* entry)
{
    std::vector<bool> marked(m_entries.size());
    bool found = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == entry)
            marked[i] = found = true;
    }
    if (found)
        removeMarked(marked);
    return found;
}

void Investigator::removeAllEntries()
{
    m_skills.clear();
    m_firearms.clear();
    m_melee.clear();
    m_entries.clear();
}

void Investigator::sort()
{
    const size_t count = m_entries.size();
    std::unordered_map<const SkillDef*, size_t> positionOfDef;
    for (size_t i = 0; i < count; ++i)
        positionOfDef.emplace(m_entries[i]->definition.get(), i);

    std::vector<SortKey> keys(count);
    for (size_t i = 0; i < count; ++i) {
        const SkillEntry& entry = *m_entries[i];
        SortKey& key = keys[i];
        key.position = i;
        key.group = i;
        if (entry.kind() == SkillKind::SubSkill) {
            key.isSub = true;
            key.unnamed = entry.name().empty();
            key.own = sortText(entry.name());
            const SpecialSkill* parent = entry.parent();
            key.primary = sortText(parent ? parent->name() : entry.name());
            if (const auto found = positionOfDef.find(parent); parent && found != positionOfDef.end())
                key.group = found->second;
        } else {
            key.primary = sortText(entry.name());
        }
    }
    // Sorting the keys themselves keeps the comparisons on contiguous memory.
    std::sort(keys.begin(), keys.end());

    EntryList sorted;
    sorted.reserve(count);
    for (const SortKey& key : keys)
        sorted.push_back(std::move(m_entries[key.position]));
    m_entries = std::move(sorted);
    // Each view holds exactly the entries of its kinds, so in sorted order it is the sorted list
    // filtered by kind.
    m_skills.clear();
    m_firearms.clear();
    m_melee.clear();
    for (const auto& entry : m_entries)
        appendToView(entry.get());
}

} // namespace vorpane
