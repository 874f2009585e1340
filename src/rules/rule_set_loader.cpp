// Reading a rule file into a RuleSet: the four row sections in order, stopping at the first error.

#include "platform/ui_services.h"
#include "platform/wait_cursor.h"
#include "rules/row_reader.h"
#include "rules/rule_set.h"
#include "rules/section_file.h"
#include "rules/text_case.h"

#include <algorithm>

namespace vorpane {

namespace {

// A failed load leaves no stale "Loading ..." text behind either.
class StatusTextGuard {
public:
    ~StatusTextGuard() { ui().setStatusText({}); }
};

const char* sectionName(SkillKind kind)
{
    switch (kind) {
    case SkillKind::Firearm:
        return "FIREARMS";
    case SkillKind::Melee:
        return "MELEE";
    default:
        return "SKILLS";
    }
}

const char* statusWord(SkillKind kind)
{
    switch (kind) {
    case SkillKind::Firearm:
        return "Loading firearms from ";
    case SkillKind::Melee:
        return "Loading melee weapons from ";
    default:
        return "Loading skills from ";
    }
}

void loadError(const std::string& message) { showMessage(message, {}, MsgIcon::Error); }

// One row of SKILLS, FIREARMS or MELEE; null when the row is cut short or its subskill count is
// impossible (the caller tells the reader's error apart).
std::unique_ptr<SkillDef> readDefinitionRow(RowReader& reader, SkillKind kind)
{
    std::string base = reader.quoted();
    if (kind == SkillKind::Skill) {
        const int count = reader.integer();
        std::string name = reader.quoted();
        const EraFlags eras = parseEraWord(reader.word());
        if (reader.error() || reader.exhausted() || count < 0 || count > kMaxSubSkillCount)
            return nullptr;
        if (count == 0)
            return std::make_unique<Skill>(std::move(name), std::move(base), eras);
        return std::make_unique<SpecialSkill>(std::move(name), std::move(base), eras, count, true);
    }
    if (kind == SkillKind::Firearm) {
        FirearmStats stats;
        stats.dmg = reader.quoted();
        stats.range = reader.quoted();
        stats.shots = reader.quoted();
        stats.bullets = reader.quoted();
        stats.pv = reader.quoted();
        stats.mal = reader.quoted();
        std::string name = reader.quoted();
        const EraFlags eras = parseEraWord(reader.word());
        if (reader.error() || reader.exhausted())
            return nullptr;
        return std::make_unique<Firearm>(std::move(name), std::move(base), eras, std::move(stats));
    }
    MeleeStats stats;
    stats.dmg = reader.quoted();
    stats.attacks = reader.quoted();
    stats.pv = reader.quoted();
    std::string name = reader.quoted();
    const EraFlags eras = parseEraWord(reader.word());
    if (reader.error() || reader.exhausted())
        return nullptr;
    return std::make_unique<Melee>(std::move(name), std::move(base), eras, std::move(stats));
}

// At most one row per line: enough to size the lists once.
size_t lineCount(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')) + 1; }

bool isSubsetDigit(char c) { return c >= '1' && c <= '9'; }

} // namespace

bool RuleSet::load()
{
    WaitCursor wait;
    StatusTextGuard status;
    ui().setStatusText("Opening " + m_fileName + "...");
    SectionFile file;
    if (!file.open(path()))
        return false;
    return parse(file);
}

bool RuleSet::loadText(std::string content)
{
    WaitCursor wait;
    StatusTextGuard status;
    ui().setStatusText("Opening " + m_fileName + "...");
    SectionFile file;
    if (!file.openText(m_fileName, std::move(content)))
        return false;
    return parse(file);
}

bool RuleSet::parse(const SectionFile& file)
{
    clear();
    return parseDefinitions(file, SkillKind::Skill) && parseDefinitions(file, SkillKind::Firearm)
        && parseDefinitions(file, SkillKind::Melee) && parseOccupations(file);
}

void RuleSet::reserveRows(const std::string& section)
{
    const size_t rows = lineCount(section);
    m_definitions.reserve(m_definitions.size() + rows);
    m_definitionIndex.reserve(m_definitionIndex.size() + rows);
}

void RuleSet::addDefinition(std::unique_ptr<SkillDef> definition)
{
    const auto [slot, added]
        = m_definitionIndex.try_emplace(nameKey(definition->name()), m_definitions.size());
    if (!added) {
        showMessage(
            "Warning: Duplicate skill \"" + definition->name() + "\" in " + m_fileName + " will not be added",
            {}, MsgIcon::Warning);
        return;
    }
    SkillDef* def = definition.get();
    m_definitions.push_back(std::move(definition));
    switch (def->kind()) {
    case SkillKind::Firearm:
        m_firearms.push_back(def);
        break;
    case SkillKind::Melee:
        m_melee.push_back(def);
        break;
    default:
        m_skills.push_back(def);
        break;
    }
}

bool RuleSet::parseDefinitions(const SectionFile& file, SkillKind kind)
{
    const std::string section = sectionName(kind);
    ui().setStatusText(statusWord(kind) + m_fileName + "...");
    std::optional<std::string> text = file.findSection(section);
    if (!text)
        return false;
    reserveRows(*text);
    RowReader reader(std::move(*text));
    while (!reader.atEnd()) {
        std::unique_ptr<SkillDef> definition = readDefinitionRow(reader, kind);
        if (reader.error())
            return false;
        if (!definition) {
            loadError("Unexpected end of section '" + section + "'");
            return false;
        }
        addDefinition(std::move(definition));
        reader.skipLine();
    }
    return true;
}

bool RuleSet::parseOccupations(const SectionFile& file)
{
    ui().setStatusText("Loading occupations from " + m_fileName + "...");
    std::optional<std::string> text = file.findSection("OCCUPATIONS");
    if (!text)
        return false;
    const size_t rows = lineCount(*text);
    m_occupations.reserve(rows);
    m_occupationIndex.reserve(rows);
    RowReader reader(std::move(*text));
    while (!reader.atEnd()) {
        OccupationDef occupation;
        occupation.name = reader.quoted();
        const std::string list = reader.quoted('(', ')');
        if (!reader.error() && !reader.exhausted()) {
            const char next = reader.peek();
            if (next == '-' || next == 'x') {
                occupation.eras = parseEraWord(reader.word());
                if (reader.peek() == '{')
                    occupation.modifierScript = reader.quoted('{', '}');
            }
        }
        if (reader.error())
            return false;
        if (reader.exhausted()) {
            loadError("Unexpected end of section 'OCCUPATIONS'");
            return false;
        }
        if (!parseSkillList(occupation, list))
            return false;
        m_occupationIndex.try_emplace(occupation.displayName(), m_occupations.size());
        m_occupations.push_back(std::move(occupation));
        reader.skipLine();
    }
    return true;
}

bool RuleSet::checkItem(const OccupationDef& occupation, const std::string& item, bool inSubset) const
{
    const std::string_view skill = itemSkillName(item);
    if (findDefinition(skill))
        return true;
    loadError("Occupation " + occupation.name + (inSubset ? " subset" : "") + ": Skill " + std::string(skill)
        + " not recognised");
    return false;
}

bool RuleSet::parseSkillList(OccupationDef& occupation, const std::string& list) const
{
    RowReader items(list);
    bool subsetSeen = false;
    while (!items.atEnd()) {
        const char next = items.peek();
        if (next == '"') {
            std::string item = items.quoted();
            if (items.error() || !checkItem(occupation, item, false))
                return false;
            occupation.skills.push_back(std::move(item));
        } else if (next == '*') {
            items.word();
            occupation.skills.emplace_back("*");
        } else if (isSubsetDigit(next)) {
            if (subsetSeen) {
                loadError("Subsets already defined in occupation " + occupation.name);
                return false;
            }
            subsetSeen = true;
            const int count = parseDecimal(items.word());
            if (items.peek() != '{') {
                loadError("Unexpected end of subset in occupation " + occupation.name);
                return false;
            }
            RowReader subset(items.quoted('{', '}'));
            if (items.error())
                return false;
            while (!subset.atEnd()) {
                std::string item = subset.quoted();
                if (subset.error() || !checkItem(occupation, item, true))
                    return false;
                occupation.subsetSkills.push_back(std::move(item));
            }
            occupation.subsetCount = count;
        } else {
            loadError(std::string("Unexpected character \"") + next + "\" in subset in occupation "
                + occupation.name);
            return false;
        }
    }
    return true;
}

} // namespace vorpane
