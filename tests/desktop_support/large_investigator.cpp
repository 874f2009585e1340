#include "large_investigator.h"

#include "platform/save_file.h"

#include <cstdint>
#include <cstdio>

namespace vorpane::test {

namespace {

constexpr const char* kHeader = "INV\r\n"
                                "Sheet { \r\n"
                                "\t\"Script\" \"\"\r\n"
                                "\t\"Class\" \"Investigator\"\r\n"
                                "}\r\n"
                                "\r\n"
                                "Investigator { \r\n"
                                "\t\"Name\" \"Leonor Castell Vidal\"\r\n"
                                "\t\"Occupation\" \"Anticuario\"\r\n"
                                "\t\"Birthplace\" \"Barcelona\"\r\n"
                                "\t\"Sex\" \"Mujer\"\r\n"
                                "\t\"Age\" \"31\"\r\n"
                                "\t\"Era\" \"1\"\r\n"
                                "\t\"APA\" \"12\"\r\n"
                                "\t\"CON\" \"9\"\r\n"
                                "\t\"DES\" \"11\"\r\n"
                                "\t\"EDU\" \"13\"\r\n"
                                "\t\"INT\" \"12\"\r\n"
                                "\t\"POD\" \"7\"\r\n"
                                "\t\"TAM\" \"16\"\r\n"
                                "\t\"FUE\" \"6\"\r\n"
                                "\t\"Player\" \"Ana\"\r\n"
                                "\t\"COR\" \"35\"\r\n"
                                "\t\"PV\" \"13\"\r\n"
                                "\t\"Magic\" \"7\"\r\n"
                                "\t\"RuleFile\" \"default.rul\"\r\n"
                                "\t\"SkillPoints\" \"260\"\r\n"
                                "\t\"InterestPoints\" \"120\"\r\n"
                                "\tSkills {\r\n";

// A small generator of its own, so that the file does not depend on the program's random numbers.
struct Sequence {
    uint32_t state;
    int next(int low, int high)
    {
        state = state * 1664525u + 1013904223u;
        return low + int((state >> 8) % uint32_t(high - low + 1));
    }
};

std::string line(const char* key, const std::string& value)
{
    return std::string("\t\t\t\"") + key + "\" \"" + value + "\"\r\n";
}

std::string number(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string largeInvestigatorText(int skills, int weapons)
{
    Sequence random { uint32_t(skills) * 7919u + uint32_t(weapons) };
    std::string text = kHeader;
    text.reserve(size_t(skills + weapons) * 200 + text.size());
    for (int i = 0; i < weapons; ++i) {
        const int current = random.next(10, 80);
        if (i % 2 == 0) {
            text += "\t\tFirearm { \r\n";
            text += line("Name", number("Arma de fuego %04d", i + 1));
            text += line("Base", number("%02d", random.next(5, 30)));
            text += line("Bullets", number("%d", random.next(1, 30)));
            text += line("Dmg", "1D10+2");
            text += line("PV", number("%d", random.next(5, 15)));
            text += line("MAL", "100");
            text += line("Range", number("%d m", random.next(10, 200)));
            text += line("Shots", "1");
        } else {
            text += "\t\tMelee { \r\n";
            text += line("Name", number("Arma blanca %04d", i + 1));
            text += line("Base", number("%02d", random.next(5, 30)));
            text += line("Attacks", "1");
            text += line("Dmg", "1D6+bd");
            text += line("PV", "15");
        }
        text += line("Current", number("%d", current));
        text += line("Occupational", "0");
        text += line("Checked", number("%d", random.next(0, 1)));
        text += "\t\t}\r\n\r\n";
    }
    for (int i = 0; i < skills; ++i) {
        text += "\t\tSkill { \r\n";
        text += line("Name", number("Habilidad %04d", i + 1));
        text += line("Base", number("%02d", random.next(1, 25)));
        text += line("Current", number("%d", random.next(1, 95)));
        text += line("Occupational", number("%d", random.next(0, 1)));
        text += line("Checked", number("%d", random.next(0, 1)));
        text += "\t\t}\r\n\r\n";
    }
    text += "\t}\r\n}\r\n";
    return text;
}

bool writeLargeInvestigator(const std::string& path, int skills, int weapons)
{
    return saveFile(path, largeInvestigatorText(skills, weapons)) == SaveResult::Saved;
}

} // namespace vorpane::test
