#include "sheet_fields_support.h"

#include "investigator/derived_values.h"
#include "platform/profile.h"

#include <QTest>

namespace vorpane::test {

TestEnvironment::TestEnvironment()
{
    setProfilePath(m_dir.filePath(QStringLiteral("profile.ini")).toStdString());
}

SkillEntry& addSkill(Investigator& inv, const std::string& name, const std::string& base, int current)
{
    SkillEntry& entry = inv.addEntry(std::make_unique<Skill>(name, base, kAllEraFlags), false);
    computeBaseValues(inv);
    if (current >= 0)
        entry.current = current;
    return entry;
}

SkillEntry& addSpecial(Investigator& inv, const std::string& name, const std::string& base,
    const std::vector<std::string>& subSkills)
{
    auto special = std::make_unique<SpecialSkill>(name, base, kAllEraFlags, int(subSkills.size()), true);
    for (size_t i = 0; i < subSkills.size(); ++i)
        special->subSkill(int(i))->setName(subSkills[i]);
    SkillEntry& entry = inv.addEntry(std::move(special), false);
    computeBaseValues(inv);
    return entry;
}

SkillEntry& addFirearm(Investigator& inv, const std::string& name, const std::string& base)
{
    FirearmStats stats { "1D10", "15 m", "1", "6", "8", "00" };
    return inv.addEntry(std::make_unique<Firearm>(name, base, kAllEraFlags, stats), false);
}

SkillEntry& addMelee(Investigator& inv, const std::string& name, const std::string& base)
{
    MeleeStats stats { "1D3", "1", "-" };
    return inv.addEntry(std::make_unique<Melee>(name, base, kAllEraFlags, stats), false);
}

SheetFixture::SheetFixture(const std::string& abbreviations)
{
    Abbreviations table;
    if (!abbreviations.empty())
        table.loadFromText("options.lst", abbreviations);
    sheet = std::make_unique<InvestigatorSheet>(layout, document, std::move(table));
}

PlacedField& SheetFixture::place(int32_t id, int row)
{
    const int32_t top = -500 * row;
    PlacedField* placement
        = layout.placeField(SheetRect { 0, top, 1000, top - 500 }, script::ScriptValue(id));
    if (!placement)
        qFatal("no field with id %d", int(id));
    return *placement;
}

PlacedField& SheetFixture::place(const std::string& name, int row)
{
    return place(field(name).id().toInteger(), row);
}

void SheetFixture::setParameter(int32_t key, int32_t value)
{
    layout.append(std::make_unique<SheetParameterItem>(key, value));
}

SheetField& SheetFixture::field(const std::string& name)
{
    SheetField* found = layout.findFieldByName(name);
    if (!found)
        qFatal("no field %s", name.c_str());
    return *found;
}

} // namespace vorpane::test
