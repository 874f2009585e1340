#include "rules/text_case.h"

#include <array>

namespace vorpane {

namespace {

// Lower-case partner of every Windows-1252 byte: ASCII, the Latin-1 letters and the four
// letters the code page adds in 0x80-0x9F.
constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table {};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[size_t(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // multiplication sign
            table[size_t(c)] = static_cast<unsigned char>(c + 32);
    }
    table[0x8A] = 0x9A; // S caron
    table[0x8C] = 0x9C; // OE
    table[0x8E] = 0x9E; // Z caron
    table[0x9F] = 0xFF; // Y diaeresis
    return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

} // namespace

char foldCase(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string foldedCopy(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = foldCase(c);
    return folded;
}

std::string_view skipLeadingStars(std::string_view name)
{
    const size_t first = name.find_first_not_of('*');
    return first == std::string_view::npos ? std::string_view() : name.substr(first);
}

std::string nameKey(std::string_view name) { return foldedCopy(skipLeadingStars(name)); }

bool sameName(std::string_view a, std::string_view b)
{
    return equalsIgnoreCase(skipLeadingStars(a), skipLeadingStars(b));
}

} // namespace vorpane
