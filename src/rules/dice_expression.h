#pragma once
// DiceExpression: evaluates dice texts such as "3D6+6" or "D100" in one pass. Operators have no
// precedence: the running result is combined with each term strictly from left to right, so
// "2+3*4" is 20. Errors show a box (no icon) and end the evaluation.

#include <string>
#include <string_view>

namespace vorpane {

class DiceExpression {
public:
    // Counts above this are refused; rolling more dice than that is a typing mistake.
    static constexpr int kMaxCount = 1000;

    virtual ~DiceExpression() = default;

    // The value of the text; an empty text gives 0. A NUL ends the text.
    int evaluate(const std::string& text);
    // Whether the last evaluation showed an error (its value is then only what was read so far).
    bool failed() const { return m_failed; }

protected:
    // One die of the given number of sides: 1 to sides, or 0 when sides is 0 or less.
    virtual int rollOneDie(int sides);

private:
    struct Cursor;
    int readTerm(Cursor& cursor, bool& failed);
    int rollDice(int count, int sides);

    bool m_failed = false;
};

// The dice roller's "bd" (any case) stands for a damage bonus ("+1D4", "-1D6", "nada" or empty),
// its sign combined with the operator before it: "1D4+bd" is "1D4+1D4" with "+1D4", "1D4-1D6" with
// "-1D6" and "1D4" with "nada".
std::string expandDamageBonus(std::string_view expression, std::string_view bonus);

} // namespace vorpane
