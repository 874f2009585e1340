#pragma once
// Dice whose every die shows the next face of a list, in turn (cycling), so that a test knows
// what a roll gives.

#include "rules/dice_expression.h"

#include <vector>

namespace vorpane::test {

class ScriptedDice final : public DiceExpression {
public:
    explicit ScriptedDice(std::vector<int> faces)
        : m_faces(std::move(faces))
    {
    }

protected:
    int rollOneDie(int) override { return m_faces[m_next++ % m_faces.size()]; }

private:
    std::vector<int> m_faces;
    size_t m_next = 0;
};

} // namespace vorpane::test
