#include "rules/dice_expression.h"

#include "platform/random.h"
#include "platform/ui_services.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace vorpane {

namespace {

constexpr int kNumberCeiling = std::numeric_limits<int>::max(); // longer digit strings saturate here
constexpr char kMalformed[] = "Malformed Dice Roll Expression: ";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isDie(char c) { return c == 'D' || c == 'd'; }

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

// The result wraps in 32 bits, like the integer arithmetic it stands for, but without undefined
// behaviour.
int wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

void showError(std::string_view shown, const std::string& detail)
{
    std::string text = kMalformed;
    text += shown;
    text += '\n';
    text += detail;
    ui().messageBox(text, {}, MsgIcon::None, MsgButtons::Ok);
}

void reportInvalidSymbol(std::string_view shown, char symbol)
{
    showError(shown, std::string("\"") + symbol + "\" - Invalid Symbol");
}

} // namespace

struct DiceExpression::Cursor {
    std::string_view text;
    size_t pos = 0;

    bool atEnd() const { return pos >= text.size(); }
    char peek() const { return atEnd() ? '\0' : text[pos]; }
    void skipBlanks()
    {
        while (!atEnd() && isBlank(text[pos]))
            ++pos;
    }
    // Decimal digits (possibly none, which reads as 0).
    int readNumber()
    {
        int value = 0;
        while (!atEnd() && isDigit(text[pos])) {
            const int digit = text[pos++] - '0';
            value = value > (kNumberCeiling - digit) / 10 ? kNumberCeiling : value * 10 + digit;
        }
        return value;
    }
};

int DiceExpression::evaluate(const std::string& text)
{
    Cursor cursor { std::string_view(text.c_str()) };
    m_failed = false;
    int result = 0;
    char op = '+';
    for (;;) {
        bool failed = false;
        const int term = readTerm(cursor, failed);
        switch (op) {
        case '+':
            result = wrap(int64_t(result) + term);
            break;
        case '-':
            result = wrap(int64_t(result) - term);
            break;
        case '*':
            result = wrap(int64_t(result) * term);
            break;
        default:
            if (term == 0) {
                showError(cursor.text, "Divide by zero");
                m_failed = true;
                return 0;
            }
            result = wrap(int64_t(result) / term);
            break;
        }
        if (failed) {
            m_failed = true;
            return result;
        }

        cursor.skipBlanks();
        if (cursor.atEnd())
            return result;
        const char c = cursor.peek();
        if (isOperator(c)) {
            op = c;
            ++cursor.pos;
        } else if (!isDigit(c)) {
            reportInvalidSymbol(cursor.text, c);
            m_failed = true;
            return 0;
        }
        // A digit where an operator belongs starts the next term under the operator last read.
    }
}

int DiceExpression::readTerm(Cursor& cursor, bool& failed)
{
    cursor.skipBlanks();
    if (cursor.atEnd())
        return 0;
    const char c = cursor.peek();
    if (isDie(c)) {
        ++cursor.pos;
        return rollDice(1, cursor.readNumber());
    }
    if (!isDigit(c)) {
        reportInvalidSymbol(cursor.text.substr(cursor.pos), c);
        failed = true;
        return 0;
    }
    const size_t start = cursor.pos;
    const int count = cursor.readNumber();
    if (count > kMaxCount) {
        showError(cursor.text,
            "Dice count " + std::string(cursor.text.substr(start, cursor.pos - start))
                + " out of range (0 to " + std::to_string(kMaxCount) + ")");
        failed = true;
        return 0;
    }
    if (!isDie(cursor.peek()))
        return count;
    ++cursor.pos;
    return rollDice(count, cursor.readNumber());
}

int DiceExpression::rollDice(int count, int sides)
{
    int64_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum += rollOneDie(sides);
    return wrap(sum);
}

int DiceExpression::rollOneDie(int sides)
{
    if (sides <= 0)
        return 0;
    return nextRandom() % sides + 1;
}

std::string expandDamageBonus(std::string_view expression, std::string_view bonus)
{
    char sign = '+';
    std::string_view dice;
    if (!bonus.empty() && (bonus.front() == '+' || bonus.front() == '-')) {
        sign = bonus.front();
        dice = bonus.substr(1);
    }
    std::string out;
    for (size_t i = 0; i < expression.size(); ++i) {
        const bool isBd = i + 1 < expression.size() && (expression[i] == 'b' || expression[i] == 'B')
            && isDie(expression[i + 1]);
        if (!isBd) {
            out += expression[i];
            continue;
        }
        ++i;
        const size_t last = out.find_last_not_of(" \t");
        const bool afterSign = last != std::string::npos && (out[last] == '+' || out[last] == '-');
        if (afterSign) {
            const char op = out[last];
            out.erase(last);
            if (!dice.empty())
                out += (op == sign ? "+" : "-") + std::string(dice);
        } else if (dice.empty()) {
            out += '0';
        } else {
            // A leading minus is no term of its own.
            out += (sign == '-' && last == std::string::npos ? "0-" : "") + std::string(dice);
        }
    }
    return out;
}

} // namespace vorpane
