#include "rules/name_generator.h"

#include "platform/random.h"

namespace vorpane {

NameGenerator::NameGenerator()
    : NameGenerator(ListFile(kNamesFile, kSlotCount))
{
}

NameGenerator::NameGenerator(ListFile names)
    : m_names(std::move(names))
{
    draw();
}

bool NameGenerator::pick(const char* list, std::string& entry)
{
    const ListFile::Entries entries = m_names.section(list);
    if (!entries || entries->empty())
        return false;
    entry = (*entries)[size_t(nextRandom()) % entries->size()];
    return true;
}

void NameGenerator::draw()
{
    const bool female = nextRandom() % 4 == 0;
    std::string name = m_fullName; // kept when the first-name list is missing
    std::string first;
    if (pick(female ? "FemaleNames" : "MaleNames", first)) {
        name = first;
        m_sex.assign(1, female ? 'F' : 'M');
    }
    if (!m_names.section("Surnames")) {
        m_fullName = kNoData;
        return;
    }
    name += ' ';
    std::string surname;
    if (nextRandom() % 7 == 0) {
        pick("Surnames", surname);
        name += surname;
        name += nextRandom() % 2 == 0 ? '-' : ' ';
    } else if (nextRandom() % 50 == 0) {
        name += "St. ";
    }
    pick("Surnames", surname);
    name += surname;
    m_fullName = std::move(name);
}

} // namespace vorpane
