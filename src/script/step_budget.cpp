// The thread's keeper of the step budget.

#include "script/step_budget.h"

namespace vorpane::script {

namespace {

thread_local StepBudgetKeeper* t_keeper = nullptr;

} // namespace

StepBudgetKeeper* installStepBudgetKeeper(StepBudgetKeeper* keeper)
{
    StepBudgetKeeper* previous = t_keeper;
    t_keeper = keeper;
    return previous;
}

bool spendSteps(uint64_t steps) { return t_keeper ? t_keeper->spendSteps(steps) : true; }

} // namespace vorpane::script
