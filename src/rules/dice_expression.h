#pragma once
// DiceExpression: evaluates dice texts such as "3D6+6" or "D100" in one pass. Operators have no
// precedence: the running result is combined with each term strictly from left to right, so
// "2+3*4" is 20. Errors show a box (no icon) and end the evaluation.

#include <string>

namespace vorpane {

class DiceExpression {
public:
    // Counts above this are refused; rolling more dice than that is a typing mistake.
    static constexpr int kMaxCount = 1000;

    virtual ~DiceExpression() = default;

    // The value of the text; an empty text gives 0. A NUL ends the text.
    int evaluate(const std::string& text);

protected:
    // One die of the given number of sides: 1 to sides, or 0 when sides is 0 or less.
    virtual int rollOneDie(int sides);

private:
    struct Cursor;
    int readTerm(Cursor& cursor, bool& failed);
    int rollDice(int count, int sides);
};

} // namespace vorpane
