#pragma once
// NameGenerator: random investigator names from "names.lst" (lists "MaleNames", "FemaleNames",
// "Surnames"). Each decision takes one value of the process's generator, in this order: female
// (1 in 4), the first name, double surname (1 in 7), then for a double surname the first surname
// and the joiner ("-" on an even value, else a blank), otherwise "St. " (1 in 50); then the
// surname.

#include "rules/list_file.h"

#include <string>

namespace vorpane {

class NameGenerator {
public:
    static constexpr int kSlotCount = 3;
    static constexpr const char* kNamesFile = "names.lst";
    static constexpr const char* kNoData = "name data not found"; // the name when "Surnames" is missing

    // Opens "names.lst" of the data folders and draws once.
    NameGenerator();
    // Draws from the given lists; draws once.
    explicit NameGenerator(ListFile names);

    void draw();

    const std::string& fullName() const { return m_fullName; }
    // "M" or "F" (empty until a first name was found).
    const std::string& sex() const { return m_sex; }

private:
    // A random entry of the list into entry; false when the list is absent.
    bool pick(const char* list, std::string& entry);

    ListFile m_names;
    std::string m_fullName;
    std::string m_sex;
};

} // namespace vorpane
