#pragma once
// The step budget of the run in progress on this thread. Long library operations (sorting,
// filling a large array, building a long text) spend it through spendSteps(); the engine that
// runs a script keeps the budget and installs itself for the length of the run.

#include <cstdint>

namespace vorpane::script {

// Text built by concatenation spends the budget by its length: a loop that keeps growing a text
// does work that grows with every turn.
constexpr uint64_t kTextBytesPerStep = 64;

class StepBudgetKeeper {
public:
    // False when the budget is used up: the run has then been stopped silently.
    virtual bool spendSteps(uint64_t steps) = 0;

protected:
    ~StepBudgetKeeper() = default;
};

// Makes keeper (or none) the one of this thread; returns the one it replaces.
StepBudgetKeeper* installStepBudgetKeeper(StepBudgetKeeper* keeper);

// Lets a long library operation spend the budget of the run in progress on this thread. False
// when the budget is used up: the run has then been stopped silently and the operation should
// give up. True when no run is in progress.
bool spendSteps(uint64_t steps);

} // namespace vorpane::script
