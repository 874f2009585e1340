#include "investigator/skill_editing.h"

#include "investigator/base_formula.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/rule_set.h"
#include "rules/text_case.h"

#include <algorithm>

namespace vorpane {

namespace {

constexpr const char* kBaseOneQuestion
    = "Note: You've chosen to set the base string to \"1\". If you want to display investigator skills "
      "so that they're compatible with Call of Zhaldor versions 5.5 upwards, click on View|Zhaldor 5.5 "
      "Bases in the main sheet window\nDo you want to set this base back to zero and use this option?";

bool isPrefixChar(char c) { return c == '*' || c == 'F' || c == 'f'; }

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string listedName(const std::string& name, bool listed)
{
    return listed && !name.starts_with('*') ? "*" + name : name;
}

// New entries get their base value at once, so that the skill-point panes count them right.
void setBaseValues(Investigator& inv, const SkillEntry& first, int value)
{
    bool seen = false;
    for (const auto& entry : inv.entries()) {
        if (entry.get() == &first) {
            seen = true;
            entry->baseValue = value;
        } else if (seen && entry->kind() == SkillKind::SubSkill
            && entry->parent() == first.definition.get()) {
            entry->baseValue = entry->current;
        } else if (seen) {
            break;
        }
    }
}

SkillEntry* findWeapon(const Investigator& inv, std::string_view name)
{
    for (const auto* list : { &inv.firearms(), &inv.melee() }) {
        for (SkillEntry* entry : *list) {
            if (sameName(entry->name(), name))
                return entry;
        }
    }
    return nullptr;
}

} // namespace

BasePrefix basePrefix(std::string_view base)
{
    if (base.empty())
        return BasePrefix::None;
    if (base.front() == '*')
        return BasePrefix::Fixed;
    if (base.front() == 'F' || base.front() == 'f')
        return BasePrefix::Firearm;
    return BasePrefix::None;
}

std::string withBasePrefix(std::string_view base, BasePrefix prefix)
{
    if (!base.empty() && isPrefixChar(base.front()))
        base.remove_prefix(1);
    switch (prefix) {
    case BasePrefix::Fixed:
        return "*" + std::string(base);
    case BasePrefix::Firearm:
        return "F" + std::string(base);
    case BasePrefix::None:
        break;
    }
    return std::string(base);
}

std::string replaceMultiplier(std::string_view base, std::string_view characteristic)
{
    std::string prefix;
    if (!base.empty() && isPrefixChar(base.front())) {
        prefix = base.front();
        base.remove_prefix(1);
    }
    if (!base.empty() && base.front() == '^') {
        base.remove_prefix(1);
        while (!base.empty() && isLetter(base.front()))
            base.remove_prefix(1);
    }
    return prefix + "^" + std::string(characteristic) + std::string(base);
}

std::string prependMultiplier(std::string_view base, std::string_view characteristic)
{
    return "^" + std::string(characteristic) + std::string(base);
}

bool isValidSkillName(std::string_view name)
{
    return name.find_first_not_of("* \t") != std::string_view::npos;
}

const SkillEntry* findNamedEntry(
    const Investigator& inv, std::string_view name, const SkillEntry* except, bool countSubSkills)
{
    for (const auto& entry : inv.entries()) {
        if (entry.get() == except || (!countSubSkills && entry->kind() == SkillKind::SubSkill))
            continue;
        if (sameName(entry->name(), name))
            return entry.get();
    }
    return nullptr;
}

bool checkNameAndBase(const Investigator& inv, const std::string& name, std::string& base,
    const SkillEntry* except, bool countSubSkills)
{
    if (!isValidSkillName(name)) {
        showMessage(kInvalidSkillName);
        return false;
    }
    if (findNamedEntry(inv, name, except, countSubSkills)) {
        showMessage(cp1252("Este investigador ya tiene una hab. llamada  ") + name
            + cp1252("\nElige un nombre distinto      "));
        return false;
    }
    if (base == "1") {
        switch (ui().messageBox(kBaseOneQuestion, {}, MsgIcon::None, MsgButtons::YesNoCancel)) {
        case MsgResult::Yes:
            base = "0";
            break;
        case MsgResult::No:
        case MsgResult::Ok:
            break;
        case MsgResult::Cancel:
            return false;
        }
    }
    return true;
}

SkillEntry* addCustomSkill(Investigator& inv, const NewSkill& skill)
{
    const int value = BaseFormula::value(skill.base, inv);
    if (value == kFormulaError)
        return nullptr;
    const std::string name = listedName(skill.name, skill.listed);
    std::unique_ptr<SkillDef> def;
    if (skill.special) {
        const int count = std::clamp(skill.subSkillCount, 0, kMaxNewSubSkills);
        def = std::make_unique<SpecialSkill>(name, skill.base, kAllEraFlags, count, true);
    } else {
        def = std::make_unique<Skill>(name, skill.base, kAllEraFlags);
    }
    SkillEntry& added = inv.addEntry(std::move(def), false);
    setBaseValues(inv, added, value);
    inv.sort();
    return &added;
}

bool editSkill(
    Investigator& inv, SkillEntry& entry, const std::string& name, const std::string& base, bool listed)
{
    const int value = BaseFormula::value(base, inv);
    if (value == kFormulaError)
        return false;
    entry.definition->setBase(base);
    entry.baseValue = value;
    entry.current = std::max(entry.current, value);
    entry.definition->setName(listedName(name, listed));
    return true;
}

SkillEntry* addCustomWeapon(Investigator& inv, std::unique_ptr<SkillDef> weapon)
{
    if (!weapon || (weapon->kind() != SkillKind::Firearm && weapon->kind() != SkillKind::Melee))
        return nullptr;
    const int value = BaseFormula::value(weapon->base(), inv);
    if (value == kFormulaError)
        return nullptr;
    weapon->setEras(kAllEraFlags);
    SkillEntry& added = inv.addEntry(std::move(weapon), false);
    added.baseValue = value;
    inv.sort();
    return &added;
}

WeaponLists weaponLists(const Investigator& inv, const RuleSet* rules)
{
    WeaponLists lists;
    if (rules) {
        for (const auto* defs : { &rules->melee(), &rules->firearms() }) {
            for (const SkillDef* def : *defs) {
                if (def->availableInEra(inv.Era) && !def->name().starts_with('*')
                    && !inv.findSkill(def->name()))
                    lists.available.push_back(def->name());
            }
        }
    }
    for (const SkillEntry* entry : inv.firearms()) {
        if (!entry->name().empty())
            lists.owned.push_back(entry->name());
    }
    for (const SkillEntry* entry : inv.melee()) {
        if (!entry->name().empty() && !entry->name().starts_with('*'))
            lists.owned.push_back(entry->name());
    }
    return lists;
}

SkillEntry* addRuleWeapon(Investigator& inv, const RuleSet& rules, std::string_view name)
{
    for (const auto* defs : { &rules.melee(), &rules.firearms() }) {
        for (const SkillDef* def : *defs) {
            if (def->name() != name)
                continue;
            SkillEntry& added = inv.addEntry(def->clone(), false);
            added.baseValue = added.current;
            return &added;
        }
    }
    return nullptr;
}

bool removeWeapon(Investigator& inv, std::string_view name)
{
    SkillEntry* entry = findWeapon(inv, name);
    return entry && inv.removeEntry(entry);
}

} // namespace vorpane
