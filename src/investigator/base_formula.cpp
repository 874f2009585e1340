#include "investigator/base_formula.h"

#include "investigator/investigator.h"
#include "platform/ui_services.h"

#include <algorithm>
#include <climits>

namespace vorpane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The run of characters starting at pos for which pred holds; pos moves past it.
template <typename Pred> std::string_view takeRun(std::string_view text, size_t& pos, Pred pred)
{
    const size_t start = pos;
    while (pos < text.size() && pred(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

// The text after an opening '%' up to the next '%' (or the end); pos moves past the closing one.
std::string_view takeSkillName(std::string_view text, size_t& pos)
{
    const size_t end = std::min(text.find('%', pos), text.size());
    const std::string_view name = text.substr(pos, end - pos);
    pos = end < text.size() ? end + 1 : end;
    return name;
}

int numberValue(std::string_view digits)
{
    long long value = 0;
    for (char c : digits)
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    return int(value);
}

// Display texts write a blank in a skill name as '_', so a lookup tries that form too.
const SkillEntry* findFormulaSkill(const Investigator& inv, std::string_view name)
{
    if (const SkillEntry* entry = inv.findSkill(name))
        return entry;
    std::string spaced(name);
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    return spaced != name ? inv.findSkill(spaced) : nullptr;
}

} // namespace

int BaseFormula::value(std::string_view base, const Investigator& inv)
{
    long long value = 0;
    bool characteristicSeen = false;
    size_t pos = 0;
    while (pos < base.size()) {
        const char c = base[pos];
        if (c == '^') {
            ++pos;
            const std::string_view name = takeRun(base, pos, isLetter);
            const std::optional<int> found = inv.findCharacteristic(name);
            if (!found)
                return inv.characteristic(name); // shows the message, gives the error value
            value = clampToInt(value + *found);
            characteristicSeen = true;
        } else if (isDigit(c)) {
            const int number = numberValue(takeRun(base, pos, isDigit));
            value = characteristicSeen ? clampToInt(value * number) : number;
        } else if (c == '%') {
            ++pos;
            const std::string_view name = takeSkillName(base, pos);
            const SkillEntry* entry = findFormulaSkill(inv, name);
            if (!entry) {
                showMessage("Unknown skill name: " + std::string(name), {}, MsgIcon::Warning);
                return kFormulaError;
            }
            value = clampToInt(value + entry->current);
        } else {
            ++pos;
        }
    }
    return int(value);
}

std::string BaseFormula::text(std::string_view base, bool bases55, bool percent)
{
    std::string out;
    bool plainNumber = false;
    size_t pos = 0;
    while (pos < base.size()) {
        const char c = base[pos];
        if (c == '%') {
            ++pos;
            std::string name(takeSkillName(base, pos));
            std::replace(name.begin(), name.end(), '_', ' ');
            out += name;
            plainNumber = false;
        } else if (c == '*' || c == 'F') {
            ++pos;
        } else if (isDigit(c)) {
            std::string_view digits = takeRun(base, pos, isDigit);
            digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
            if (out.empty()) {
                if (digits.size() < 2)
                    out += '0';
                out += digits;
                plainNumber = true;
            } else {
                out += 'x';
                if (digits != "1")
                    out += digits;
                plainNumber = false;
            }
        } else if (c == '^') {
            ++pos;
            const std::string_view letters = takeRun(base, pos, isLetter);
            if (!out.empty())
                out += '+';
            out += letters;
            plainNumber = false;
        } else {
            out += c;
            ++pos;
            plainNumber = false;
        }
    }
    if (out == "0") {
        out = bases55 && (base.empty() || base.front() != '*') ? "01" : "00";
        plainNumber = bases55;
    }
    if (out == "00")
        plainNumber = false;
    if (plainNumber && percent)
        out += '%';
    return out;
}

} // namespace vorpane
