#include "investigator/investigator_object.h"

#include "investigator/base_formula.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "platform/ui_services.h"
#include "rules/text_case.h"
#include "script/member_name.h"

namespace vorpane {

using script::ScriptValue;

namespace {

struct Property {
    const char* name;
    std::string Investigator::*text; // null for a number
    int Investigator::*number; // null for a text
};

constexpr Property number(const char* name, int Investigator::*field) { return { name, nullptr, field }; }

constexpr Property text(const char* name, std::string Investigator::*field)
{
    return { name, field, nullptr };
}

// The script's names for the fields; Era, Player, Portrait, ExtraSchooling and RuleFile stay hidden.
constexpr Property kProperties[] = {
    number("skillpoints", &Investigator::SkillPoints),
    number("interestpoints", &Investigator::InterestPoints),
    text("name", &Investigator::Name),
    text("occupation", &Investigator::Occupation),
    text("birthplace", &Investigator::Birthplace),
    text("colleges", &Investigator::Colleges),
    text("mentaldisorders", &Investigator::MentalDisorders),
    text("sex", &Investigator::Sex),
    number("age", &Investigator::Age),
    number("app", &Investigator::APA),
    number("con", &Investigator::CON),
    number("dex", &Investigator::DES),
    number("edu", &Investigator::EDU),
    number("int", &Investigator::INT),
    number("pow", &Investigator::POD),
    number("siz", &Investigator::TAM),
    number("str", &Investigator::FUE),
    number("san", &Investigator::COR),
    number("hp", &Investigator::PV),
    number("magic", &Investigator::Magic),
    text("affiliation", &Investigator::Affiliation),
    text("codename", &Investigator::CodeName),
    text("currentdate", &Investigator::CurrentDate),
    text("insanities", &Investigator::Insanities),
    text("income", &Investigator::Income),
    text("spells", &Investigator::Spells),
    text("residence", &Investigator::Residence),
    text("personaldescription", &Investigator::PersonalDescription),
    text("contacts", &Investigator::Contacts),
    text("wounds", &Investigator::Wounds),
    text("scars", &Investigator::Scars),
    text("history", &Investigator::History),
    text("cashonhand", &Investigator::CashOnHand),
    text("savings", &Investigator::Savings),
    text("personalproperty", &Investigator::PersonalProperty),
    text("realestate", &Investigator::RealEstate),
    text("possessions", &Investigator::Posessions),
    text("tomesread", &Investigator::TomesRead),
    text("artifacts", &Investigator::Artifacts),
    text("entitiesencountered", &Investigator::EntitiesEncountered),
};
static_assert(std::size(kProperties) == InvestigatorObject::kPropertyCount);

enum class Member {
    HasGotSkill,
    GetSkillValue,
    SetSkillValue,
    GetSkillSubsetCount,
    SetSubSkill,
    AddSkill,
    AddOccupationalSkill,
    Recalculate
};

struct MemberEntry {
    const char* name;
    Member member;
    int minArgs;
    int maxArgs;
    const char* parameters;
};

constexpr MemberEntry kMembers[] = {
    { "hasgotskill", Member::HasGotSkill, 1, 1, "name" },
    { "getskillvalue", Member::GetSkillValue, 1, 1, "name" },
    { "setskillvalue", Member::SetSkillValue, 2, 2, "name, value" },
    { "getskillsubsetcount", Member::GetSkillSubsetCount, 1, 1, "name" },
    { "setsubskill", Member::SetSubSkill, 3, 4, "name, index, subskill, [value]" },
    { "addskill", Member::AddSkill, 1, 3, "name, [base], [value]" },
    { "addOccupationalSkill", Member::AddOccupationalSkill, 1, 3, "name, [base], [value]" },
    { "recalculate", Member::Recalculate, 0, 0, "" },
};

const char* const kDefaultNewBase = "0";
const char* const kAnySkillName = "*";

int reportWarning(const std::string& text)
{
    showMessage(text, {}, MsgIcon::Warning);
    return script::CallReported;
}

SpecialSkill* asSpecial(const SkillEntry* entry)
{
    if (!entry || entry->kind() != SkillKind::SpecialSkill)
        return nullptr;
    return static_cast<SpecialSkill*>(entry->definition.get());
}

} // namespace

InvestigatorObject::InvestigatorObject(Investigator& inv)
    : m_inv(&inv)
{
    readProperties();
}

InvestigatorObject::~InvestigatorObject()
{
    if (m_inv)
        writeProperties();
}

void InvestigatorObject::detach()
{
    if (!m_inv)
        return;
    writeProperties();
    m_inv = nullptr;
    // Properties may hold objects (this one included); letting go of them breaks such cycles.
    for (ScriptValue& value : m_properties)
        value = ScriptValue();
}

void InvestigatorObject::readProperties()
{
    for (size_t i = 0; i < kPropertyCount; ++i) {
        const Property& property = kProperties[i];
        m_properties[i]
            = property.text ? ScriptValue(m_inv->*property.text) : ScriptValue(m_inv->*property.number);
    }
}

void InvestigatorObject::writeProperties()
{
    for (size_t i = 0; i < kPropertyCount; ++i) {
        const Property& property = kProperties[i];
        try {
            if (property.text)
                m_inv->*property.text = m_properties[i].toText();
            else
                m_inv->*property.number = m_properties[i].toInteger();
        } catch (const script::ScriptError&) {
            // A value that cannot be converted (a text past the length limit) leaves its field as it was.
        }
    }
}

ScriptValue* InvestigatorObject::findMember(const std::string& name)
{
    if (!m_inv)
        return nullptr;
    for (size_t i = 0; i < kPropertyCount; ++i) {
        if (script::sameName(name, kProperties[i].name))
            return &m_properties[i];
    }
    return nullptr;
}

int InvestigatorObject::callMember(
    const std::string& name, ScriptValue* args, int argCount, ScriptValue& result)
{
    const MemberEntry* def = nullptr;
    for (const MemberEntry& candidate : kMembers) {
        if (script::sameName(name, candidate.name))
            def = &candidate;
    }
    if (!def || !m_inv)
        return script::CallNotFound;
    if (argCount < def->minArgs)
        return script::CallTooFew;
    if (argCount > def->maxArgs)
        return script::CallTooMany;

    switch (def->member) {
    case Member::HasGotSkill:
        return hasGotSkill(args, result);
    case Member::GetSkillValue:
        return getSkillValue(args, result);
    case Member::SetSkillValue:
        return setSkillValue(args);
    case Member::GetSkillSubsetCount:
        return getSkillSubsetCount(args, result);
    case Member::SetSubSkill:
        return setSubSkill(args, argCount);
    case Member::AddSkill:
        return addSkill(args, argCount, false);
    case Member::AddOccupationalSkill:
        return addSkill(args, argCount, true);
    case Member::Recalculate:
        return recalculate();
    }
    return script::CallNotFound;
}

SkillEntry* InvestigatorObject::findSkill(const std::string& name) const
{
    for (const auto& entry : m_inv->entries()) {
        if (entry->kind() != SkillKind::SubSkill && sameName(entry->name(), name))
            return entry.get();
    }
    return nullptr;
}

int InvestigatorObject::skillNotFound(const std::string& name) const
{
    return reportWarning("Script Error: Skill " + name + " was not found");
}

int InvestigatorObject::hasGotSkill(ScriptValue* args, ScriptValue& result)
{
    result.setInteger(findSkill(args[0].toText()) ? 1 : 0);
    return script::CallOk;
}

int InvestigatorObject::getSkillValue(ScriptValue* args, ScriptValue& result)
{
    const std::string name = args[0].toText();
    const SkillEntry* entry = findSkill(name);
    if (!entry)
        return skillNotFound(name);
    result.setInteger(entry->current);
    return script::CallOk;
}

int InvestigatorObject::setSkillValue(ScriptValue* args)
{
    const std::string name = args[0].toText();
    SkillEntry* entry = findSkill(name);
    if (!entry)
        return skillNotFound(name);
    entry->current = args[1].toInteger();
    return script::CallOk;
}

int InvestigatorObject::getSkillSubsetCount(ScriptValue* args, ScriptValue& result)
{
    const SpecialSkill* special = asSpecial(findSkill(args[0].toText()));
    result.setInteger(special ? special->subSkillCount() : 0);
    return script::CallOk;
}

int InvestigatorObject::setSubSkill(ScriptValue* args, int argCount)
{
    const std::string name = args[0].toText();
    SpecialSkill* special = asSpecial(findSkill(name));
    if (!special)
        return reportWarning("Script Error: Skill " + name + "Does not have any subskills");
    const int index = args[1].toInteger();
    // A slot whose subskill entry was removed has nothing left to rename.
    SubSkill* sub = special->subSkill(index);
    if (index < 0 || index >= special->subSkillCount() || !sub) {
        showMessage("Subskill index out of range", {}, MsgIcon::Warning);
        return script::CallOk;
    }
    sub->setName(args[2].toText());
    if (argCount == 4) {
        for (const auto& entry : m_inv->entries()) {
            if (entry->definition.get() == sub)
                entry->current = args[3].toInteger();
        }
    }
    return script::CallOk;
}

int InvestigatorObject::addSkill(ScriptValue* args, int argCount, bool occupational)
{
    const std::string name = args[0].toText();
    if (findSkill(name))
        return reportWarning("Script Error: Skill " + name + " already defined!");
    const std::string base = argCount > 1 ? args[1].toText() : std::string(kDefaultNewBase);
    const int value = argCount > 2 ? args[2].toInteger() : 0;

    std::unique_ptr<SkillDef> def;
    if (name == kAnySkillName)
        def = std::make_unique<AnySkill>(kAllEraFlags);
    else
        def = std::make_unique<Skill>(name, base, kAllEraFlags);
    SkillEntry& entry
        = m_inv->appendEntry(std::make_unique<SkillEntry>(std::move(def), value, occupational ? 1 : 0));
    entry.baseValue = BaseFormula::value(entry.base(), *m_inv);
    return script::CallOk;
}

int InvestigatorObject::recalculate()
{
    writeProperties();
    computeDerivedValues(*m_inv);
    readProperties();
    return script::CallOk;
}

script::HostMemberList InvestigatorObject::memberList()
{
    script::HostMemberList list;
    for (const MemberEntry& def : kMembers)
        list.push_back({ def.name, script::HostMemberKind::Function, def.parameters });
    for (const Property& property : kProperties)
        list.push_back({ property.name, script::HostMemberKind::Variable, {} });
    return list;
}

} // namespace vorpane
