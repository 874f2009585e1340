#include "investigator/investigator_field.h"

#include "rules/text_case.h"

#include <array>

namespace vorpane {

namespace {

using I = Investigator;

constexpr InvestigatorField text(const char* key, std::string I::*member) { return { key, member, nullptr }; }

constexpr InvestigatorField number(const char* key, int I::*member) { return { key, nullptr, member }; }

const std::array kFields = {
    text("Name", &I::Name),
    text("Occupation", &I::Occupation),
    text("Birthplace", &I::Birthplace),
    text("Colleges", &I::Colleges),
    text("MentalDisorders", &I::MentalDisorders),
    text("Sex", &I::Sex),
    number("Age", &I::Age),
    number("Era", &I::Era),
    text("Portrait", &I::Portrait),
    number("APA", &I::APA),
    number("CON", &I::CON),
    number("DES", &I::DES),
    number("EDU", &I::EDU),
    number("INT", &I::INT),
    number("POD", &I::POD),
    number("TAM", &I::TAM),
    number("FUE", &I::FUE),
    text("Player", &I::Player),
    number("COR", &I::COR),
    number("PV", &I::PV),
    number("Magic", &I::Magic),
    text("Affiliation", &I::Affiliation),
    text("CodeName", &I::CodeName),
    text("CurrentDate", &I::CurrentDate),
    text("Insanities", &I::Insanities),
    number("ExtraSchooling", &I::ExtraSchooling),
    text("Income", &I::Income),
    text("Spells", &I::Spells),
    text("RuleFile", &I::RuleFile),
    text("Residence", &I::Residence),
    text("PersonalDescription", &I::PersonalDescription),
    text("Contacts", &I::Contacts),
    text("Wounds", &I::Wounds),
    text("Scars", &I::Scars),
    text("History", &I::History),
    text("CashOnHand", &I::CashOnHand),
    text("Savings", &I::Savings),
    text("PersonalProperty", &I::PersonalProperty),
    text("RealEstate", &I::RealEstate),
    text("Posessions", &I::Posessions),
    text("TomesRead", &I::TomesRead),
    text("Artifacts", &I::Artifacts),
    text("EntitiesEncountered", &I::EntitiesEncountered),
    number("SkillPoints", &I::SkillPoints),
    number("InterestPoints", &I::InterestPoints),
};

} // namespace

std::span<const InvestigatorField> investigatorFields() { return kFields; }

const InvestigatorField* findInvestigatorField(std::string_view key)
{
    for (const InvestigatorField& field : kFields) {
        if (equalsIgnoreCase(field.key, key))
            return &field;
    }
    return nullptr;
}

} // namespace vorpane
