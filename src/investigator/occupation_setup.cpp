#include "investigator/occupation_setup.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/occupation_def.h"
#include "rules/rule_set_cache.h"

#include <algorithm>

namespace vorpane {

namespace {

const char* const kFreeChoice = "*";
const char kNoteMark = '$';

// The first subskill entry of special that has no name yet, in table order.
SubSkill* firstUnnamedSubSkill(const SpecialSkill& special)
{
    for (int i = 0; i < special.subSkillCount(); ++i) {
        SubSkill* sub = special.subSkill(i);
        if (sub && sub->name().empty())
            return sub;
    }
    return nullptr;
}

void markSpecialSkill(Investigator& inv, SpecialSkill& special, const std::string& item)
{
    for (const auto& entry : inv.entries()) {
        if (entry->parent() == &special)
            entry->occupational = 1;
    }
    // The note names a subskill. Each note takes the next free one, so that an occupation listing
    // the same special skill with two notes keeps both.
    if (item.find(kNoteMark) != std::string::npos) {
        if (SubSkill* sub = firstUnnamedSubSkill(special))
            sub->setName(std::string(itemNote(item)));
    }
}

// One item of an occupation's list: a skill the investigator has becomes occupational; one it
// lacks is added from the rule set; "*" adds a free-choice placeholder.
void markOccupational(Investigator& inv, const RuleSet& rules, const std::string& item)
{
    if (item == kFreeChoice) {
        inv.appendEntry(std::make_unique<SkillEntry>(std::make_unique<AnySkill>(kAllEraFlags), 0, 1));
        return;
    }
    const std::string_view name = itemSkillName(item);
    if (SkillEntry* entry = inv.findSkill(name)) {
        entry->occupational = 1;
        if (entry->kind() == SkillKind::SpecialSkill)
            markSpecialSkill(inv, static_cast<SpecialSkill&>(*entry->definition), item);
        return;
    }
    if (const SkillDef* def = rules.findDefinition(name))
        inv.addEntry(def->clone(), true);
}

bool hasOptionalSkills(const OccupationDef& occupation)
{
    return occupation.subsetCount > 0 && !occupation.subsetSkills.empty();
}

} // namespace

std::vector<OptionalSkill> offeredOptionalSkills(const Investigator& inv, const OccupationDef& occupation)
{
    const std::string ruleFile = ruleFileOrDefault(inv.RuleFile);
    std::vector<OptionalSkill> offered;
    for (const std::string& item : occupation.subsetSkills) {
        const std::string name(itemSkillName(item));
        const std::shared_ptr<const SkillDef> def = RuleSetCache::instance().findDefinition(ruleFile, name);
        if (!def || def->availableInEra(inv.Era))
            offered.push_back({ name, item });
    }
    return offered;
}

bool acceptOptionalChoice(int count, size_t chosen)
{
    if (chosen > size_t(std::max(count, 0))) {
        showMessage(cp1252("Sólo puedes elegir ") + std::to_string(count)
                + cp1252(" habilidades para esta profesión como máx."),
            {}, MsgIcon::Warning);
        return false;
    }
    if (chosen == 0)
        return askYesNo(cp1252("¿Seguro que no quieres elegir ninguna de las habilidades? "));
    return true;
}

bool setUpOccupationSkills(
    Investigator& inv, const std::string& occupation, const OptionalSkillChooser& chooser)
{
    const std::shared_ptr<const RuleSet> rules
        = RuleSetCache::instance().ensureLoaded(ruleFileOrDefault(inv.RuleFile));
    if (!rules)
        return false;
    const OccupationDef* def = nullptr;
    if (!occupation.empty()) {
        def = rules->findOccupation(occupation);
        if (!def)
            return false;
    }

    // The choice comes before anything changes, so that Cancel leaves the investigator as it was.
    std::vector<std::string> chosenItems;
    if (def && hasOptionalSkills(*def)) {
        const std::vector<OptionalSkill> offered = offeredOptionalSkills(inv, *def);
        const std::optional<std::vector<size_t>> chosen
            = chooser ? chooser(def->subsetCount, offered) : std::nullopt;
        if (!chosen)
            return false;
        for (size_t index : *chosen) {
            if (index < offered.size())
                chosenItems.push_back(offered[index].item);
        }
    }

    inv.removeAllEntries();
    rules->giveSkills(inv.Era, inv);
    if (def) {
        for (const std::string& item : chosenItems)
            markOccupational(inv, *rules, item);
        for (const std::string& item : def->skills)
            markOccupational(inv, *rules, item);
    }
    inv.sort();
    computeBaseValues(inv);
    return true;
}

} // namespace vorpane
