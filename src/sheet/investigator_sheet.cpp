#include "sheet/investigator_sheet.h"

#include "investigator/base_formula.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "rules/text_case.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/investigator_table_binding.h"

#include <algorithm>

namespace vorpane {

using script::ScriptValue;

namespace {

constexpr FieldFlags kPlain = FieldReadable | FieldTabStop; // 10
constexpr FieldFlags kRecalculating = kPlain | FieldRecalculates; // 42
constexpr FieldFlags kDerived = FieldReadOnly | FieldReadable; // 3
constexpr FieldFlags kAnchor = FieldReadOnly | FieldNoHitTest; // 0x11
constexpr FieldFlags kCell = FieldTabStop; // 8

struct TextBinding {
    const char* name;
    std::string Investigator::*member;
    const char* optionList;
};

struct NumberBinding {
    const char* name;
    int Investigator::*member;
    FieldFlags flags;
};

constexpr TextBinding kFirstTexts[] = {
    { "name", &Investigator::Name, "" },
    { "occupation", &Investigator::Occupation, "" },
    { "birthplace", &Investigator::Birthplace, "" },
    { "collegesDegrees", &Investigator::Colleges, "CollegesDegrees" },
    { "mentalDisorders", &Investigator::MentalDisorders, "Phobias" },
    { "sex", &Investigator::Sex, "" },
};

constexpr NumberBinding kNumbers[] = {
    { "age", &Investigator::Age, kPlain },
    { "app", &Investigator::APA, kPlain },
    { "con", &Investigator::CON, kPlain },
    { "dex", &Investigator::DES, kPlain },
    { "edu", &Investigator::EDU, kRecalculating },
    { "int", &Investigator::INT, kRecalculating },
    { "pow", &Investigator::POD, kPlain },
    { "siz", &Investigator::TAM, kPlain },
    { "str", &Investigator::FUE, kPlain },
    { "san", &Investigator::COR, kPlain },
    { "hitPoints", &Investigator::PV, kPlain },
    { "magic", &Investigator::Magic, kPlain },
};

constexpr TextBinding kMoreTexts[] = {
    { "affiliation", &Investigator::Affiliation, "" },
    { "codeName", &Investigator::CodeName, "" },
    { "currentDate", &Investigator::CurrentDate, "" },
    { "insanities", &Investigator::Insanities, "" },
    { "income", &Investigator::Income, "" },
    { "spells", &Investigator::Spells, "" },
    { "residence", &Investigator::Residence, "" },
    { "personalDescription", &Investigator::PersonalDescription, "" },
    { "contacts", &Investigator::Contacts, "" },
    { "wounds", &Investigator::Wounds, "" },
    { "scars", &Investigator::Scars, "" },
    { "history", &Investigator::History, "" },
    { "cashonhand", &Investigator::CashOnHand, "" },
    { "savings", &Investigator::Savings, "" },
    { "personalProperty", &Investigator::PersonalProperty, "" },
    { "realEstate", &Investigator::RealEstate, "" },
    { "possessions", &Investigator::Posessions, "" },
    { "tomesRead", &Investigator::TomesRead, "" },
    { "artifacts", &Investigator::Artifacts, "" },
    { "entitiesEncountered", &Investigator::EntitiesEncountered, "" },
    { "playerName", &Investigator::Player, "" },
};

struct ComputedBinding {
    int32_t id;
    const char* name;
    FieldFlags flags;
};

constexpr ComputedBinding kComputed[] = {
    { field_id::kPortrait, "portrait", FieldPicture | FieldReadable },
    { field_id::kMaxSan, "maxsan", kPlain },
    { field_id::kZhaldorMythos, "zhaldorMythos", kPlain },
    { field_id::kEra, "era", FieldReadable },
    { field_id::kStartingSan, "startingSan", kDerived },
    { field_id::kLuck, "luck", kDerived },
    { field_id::kKnow, "know", kDerived },
    { field_id::kIdea, "idea", kDerived },
    { field_id::kDamageBonus, "damageBonus", kDerived },
    { field_id::kSkill, "skill", kAnchor },
    { field_id::kSkillCheck, "skill_check", FieldCheckBox },
    { field_id::kSkillName, "skill_name", kCell },
    { field_id::kSkillPercent, "skill_percent", kCell },
    { field_id::kFirearm, "firearm", kAnchor },
    { field_id::kFirearmCheck, "firearm_check", FieldCheckBox },
    { field_id::kFirearmName, "firearm_name", kCell },
    { field_id::kFirearmPercent, "firearm_percent", kCell },
    { field_id::kFirearmDamage, "firearm_damage", kCell },
    { field_id::kFirearmRange, "firearm_range", kCell },
    { field_id::kFirearmShots, "firearm_shots", kCell },
    { field_id::kFirearmBullets, "firearm_bullets", kCell },
    { field_id::kFirearmHitPoints, "firearm_hitpoints", kCell },
    { field_id::kFirearmMal, "firearm_mal", kCell },
    { field_id::kMelee, "melee", kAnchor },
    { field_id::kMeleeCheck, "melee_check", FieldCheckBox },
    { field_id::kMeleeName, "melee_name", kCell },
    { field_id::kMeleePercent, "melee_percent", kCell },
    { field_id::kMeleeDamage, "melee_damage", kCell },
    { field_id::kMeleeAttacks, "melee_attacks", kCell },
    { field_id::kMeleeHitPoints, "melee_hitpoints", kCell },
    { field_id::kWeapon, "weapon", kAnchor },
    { field_id::kWeaponCheck, "weapon_check", FieldCheckBox },
    { field_id::kWeaponName, "weapon_name", kCell },
    { field_id::kWeaponPercent, "weapon_percent", kCell },
    { field_id::kWeaponDamage, "weapon_damage", kCell },
    { field_id::kWeaponHitPoints, "weapon_hitpoints", kCell },
    { field_id::kWeaponBullets, "weapon_bullets", kCell },
    { field_id::kWeaponRange, "weapon_range", kCell },
    { field_id::kWeaponAttacks, "weapon_attacks", kCell },
    { field_id::kWeaponMal, "weapon_mal", kCell },
};

constexpr const char* kEraNames[] = { "1890", "1920", "1990" };

const char* eraName(int era)
{
    return era == kEraIndex1890s ? kEraNames[0] : era == kEraIndex1990s ? kEraNames[2] : kEraNames[1];
}

// Conversions that cannot raise: a value that does not convert is dropped.
bool toInteger(const ScriptValue& value, int& out)
{
    try {
        out = value.toInteger();
        return true;
    } catch (const script::ScriptError&) {
        return false;
    }
}

bool toText(const ScriptValue& value, std::string& out)
{
    try {
        out = value.toText();
        return true;
    } catch (const script::ScriptError&) {
        return false;
    }
}

int timesFive(int value) { return clampToInt(static_cast<long long>(value) * 5); }

ScriptValue text(const std::string& s) { return ScriptValue(std::string_view(s)); }

ScriptValue integer(int v) { return ScriptValue(int32_t(v)); }

// The weapon statistics a cell shows: null for a statistic the entry's kind does not have.
std::string* firearmStat(SkillEntry& entry, int32_t id)
{
    if (entry.kind() != SkillKind::Firearm)
        return nullptr;
    FirearmStats& s = static_cast<Firearm&>(*entry.definition).stats();
    switch (id) {
    case field_id::kFirearmDamage:
    case field_id::kWeaponDamage:
        return &s.dmg;
    case field_id::kFirearmRange:
    case field_id::kWeaponRange:
        return &s.range;
    case field_id::kFirearmShots:
    case field_id::kWeaponAttacks:
        return &s.shots;
    case field_id::kFirearmBullets:
    case field_id::kWeaponBullets:
        return &s.bullets;
    case field_id::kFirearmHitPoints:
    case field_id::kWeaponHitPoints:
        return &s.pv;
    case field_id::kFirearmMal:
    case field_id::kWeaponMal:
        return &s.mal;
    default:
        return nullptr;
    }
}

std::string* meleeStat(SkillEntry& entry, int32_t id)
{
    if (entry.kind() != SkillKind::Melee)
        return nullptr;
    MeleeStats& s = static_cast<Melee&>(*entry.definition).stats();
    switch (id) {
    case field_id::kMeleeDamage:
    case field_id::kWeaponDamage:
        return &s.dmg;
    case field_id::kMeleeAttacks:
    case field_id::kWeaponAttacks:
        return &s.attacks;
    case field_id::kMeleeHitPoints:
    case field_id::kWeaponHitPoints:
        return &s.pv;
    default:
        return nullptr;
    }
}

std::string* weaponStat(SkillEntry& entry, int32_t id)
{
    if (std::string* stat = firearmStat(entry, id))
        return stat;
    return meleeStat(entry, id);
}

enum class Cell { None, Check, Name, Percent, Stat };

Cell cellOf(int32_t id)
{
    if (id < field_id::kSkill || id > field_id::kWeaponMal || id % 100 == 0)
        return Cell::None;
    switch (id % 100) {
    case 1:
        return Cell::Check;
    case 2:
        return Cell::Name;
    case 3:
        return Cell::Percent;
    default:
        return id / 100 == 1 ? Cell::None : Cell::Stat;
    }
}

} // namespace

InvestigatorSheet::InvestigatorSheet(SheetLayout& layout, InvestigatorDocumentModel& document)
    : m_layout(layout)
    , m_document(document)
{
    m_abbreviations.loadFromProgramFolder();
    registerFields();
}

InvestigatorSheet::InvestigatorSheet(
    SheetLayout& layout, InvestigatorDocumentModel& document, Abbreviations abbreviations)
    : m_layout(layout)
    , m_document(document)
    , m_abbreviations(std::move(abbreviations))
{
    registerFields();
}

InvestigatorSheet::~InvestigatorSheet()
{
    if (m_layout.host() == this)
        m_layout.setHost(nullptr);
}

void InvestigatorSheet::registerFields()
{
    loadDisplayOptions();
    InvestigatorDocumentModel* doc = &m_document;
    auto addTexts = [&](const auto& table) {
        for (const TextBinding& t : table) {
            const auto member = t.member;
            m_layout.addTextField(
                t.name, kPlain, [doc, member] { return &(doc->investigator().*member); }, t.optionList);
        }
    };
    addTexts(kFirstTexts);
    for (const NumberBinding& n : kNumbers) {
        const auto member = n.member;
        m_layout.addNumberField(n.name, n.flags, [doc, member] { return &(doc->investigator().*member); });
    }
    addTexts(kMoreTexts);
    for (const ComputedBinding& c : kComputed)
        m_layout.addComputedField(c.id, c.name, c.flags);
    m_layout.addSheetParameterName("shortsheet", kShortSheet);
    m_layout.addSheetParameterName("showcorefirearms", kShowCoreFirearms);
    m_layout.addSheetParameterName("showbasepercent", kShowBasePercent);
    m_layout.setHost(this);
}

SkillEntry* InvestigatorSheet::boundEntry(const PlacedField* placement) const
{
    if (!placement || m_boundGeneration != m_document.entriesGeneration())
        return nullptr;
    return placement->boundEntry;
}

ScriptValue InvestigatorSheet::computedValue(const SheetField& field, const PlacedField* placement)
{
    const Investigator& inv = m_document.investigator();
    const int32_t id = field.id().toInteger();
    switch (id) {
    case field_id::kPortrait:
        return text(inv.Portrait);
    case field_id::kMaxSan:
        return integer(maximumSanity(inv));
    case field_id::kZhaldorMythos: {
        const SkillEntry* mythos = inv.findSkill(kMythosSkill);
        return integer(mythos ? mythos->current : 0);
    }
    case field_id::kEra:
        return ScriptValue(eraName(inv.Era));
    case field_id::kStartingSan:
    case field_id::kLuck:
        return integer(timesFive(inv.POD));
    case field_id::kKnow:
        return integer(timesFive(inv.EDU));
    case field_id::kIdea:
        return integer(timesFive(inv.INT));
    case field_id::kDamageBonus:
        return text(damageBonus(inv));
    default:
        break;
    }
    if (cellOf(id) == Cell::None)
        return ScriptValue("");
    SkillEntry* entry = boundEntry(placement);
    return entry ? tableValue(id, *entry) : ScriptValue("");
}

ScriptValue InvestigatorSheet::tableValue(int32_t id, SkillEntry& entry) const
{
    switch (cellOf(id)) {
    case Cell::Check:
        return integer(entry.checked);
    case Cell::Name:
        return ScriptValue(skipLeadingStars(entry.name()));
    case Cell::Percent:
        return integer(shownPercent(entry));
    case Cell::Stat:
        if (const std::string* stat = weaponStat(entry, id))
            return text(*stat);
        return ScriptValue("");
    case Cell::None:
        break;
    }
    return ScriptValue("");
}

void InvestigatorSheet::setComputedValue(
    const SheetField& field, const ScriptValue& value, PlacedField* placement)
{
    Investigator& inv = m_document.investigator();
    const int32_t id = field.id().toInteger();
    int number = 0;
    std::string words;
    switch (id) {
    case field_id::kPortrait:
        if (toText(value, words))
            m_document.setPortrait(words);
        return;
    case field_id::kMaxSan:
        if (inv.findSkill(kMythosSkill) && toInteger(value, number)) {
            setMaximumSanity(inv, number);
            inv.COR = std::min(inv.COR, number);
        }
        return;
    case field_id::kZhaldorMythos:
        if (SkillEntry* mythos = inv.findSkill(kMythosSkill); mythos && toInteger(value, number))
            mythos->current = number;
        return;
    case field_id::kEra:
        if (toText(value, words)) {
            for (int era = 0; era < 3; ++era) {
                if (words == kEraNames[era])
                    inv.Era = era;
            }
        }
        return;
    default:
        break;
    }
    if (cellOf(id) == Cell::None)
        return;
    if (SkillEntry* entry = boundEntry(placement))
        setTableValue(id, *entry, value);
}

void InvestigatorSheet::setTableValue(int32_t id, SkillEntry& entry, const ScriptValue& value)
{
    int number = 0;
    std::string words;
    switch (cellOf(id)) {
    case Cell::Check:
        if (toInteger(value, number))
            entry.checked = number;
        break;
    case Cell::Name:
        // The leading '*' that hides a name from pickers is not shown and cannot be typed; it stays.
        if (toText(value, words)) {
            const std::string& old = entry.name();
            const std::string stars = old.substr(0, old.size() - skipLeadingStars(old).size());
            entry.definition->setName(stars + std::string(skipLeadingStars(words)));
        }
        break;
    case Cell::Percent:
        storePercent(entry, value);
        break;
    case Cell::Stat:
        if (std::string* stat = weaponStat(entry, id); stat && toText(value, words))
            *stat = std::move(words);
        break;
    case Cell::None:
        break;
    }
}

int InvestigatorSheet::shownPercent(const SkillEntry& entry)
{
    const bool plusOne = displayOptions().bases55 && entry.base() == "0";
    return clampToInt(static_cast<long long>(entry.current) + (plusOne ? 1 : 0));
}

void InvestigatorSheet::storePercent(SkillEntry& entry, const ScriptValue& value)
{
    int v = 0;
    if (!toInteger(value, v))
        return;
    entry.baseValue = BaseFormula::value(entry.base(), m_document.investigator());
    if (displayOptions().trimSkills && v < entry.baseValue)
        v = entry.baseValue;
    if (displayOptions().bases55 && entry.base() == "0")
        v = std::max(0, v - 1);
    entry.current = v;
}

void InvestigatorSheet::beginReplay(SheetPainter&) { m_showBasePercent = kShowBasePercentDefault != 0; }

void InvestigatorSheet::bindTables(SheetLayout& layout)
{
    bindInvestigatorTables(layout, m_document.investigator());
    m_boundGeneration = m_document.entriesGeneration();
    m_shortSheet = layout.sheetParameter(kShortSheet, kShortSheetDefault) != 0;
    m_showBasePercent = kShowBasePercentDefault != 0;
}

void InvestigatorSheet::beforeChange(SheetField&, PlacedField*) { m_document.beforeChange(); }

void InvestigatorSheet::afterChange(SheetField& field, PlacedField*) { m_document.afterChange(field); }

} // namespace vorpane
