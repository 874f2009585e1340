// The thread's count of script memory and the limit of the run in progress.

#include "script/memory_budget.h"

#include "script/script_value.h"

#include <algorithm>

namespace vorpane::script {

namespace {

uint64_t g_defaultBudget = kDefaultMemoryBudget;
thread_local size_t t_held = 0;
thread_local size_t t_limit = SIZE_MAX;

} // namespace

void setDefaultMemoryBudget(uint64_t bytes) { g_defaultBudget = bytes ? bytes : kDefaultMemoryBudget; }

uint64_t defaultMemoryBudget() { return g_defaultBudget; }

void chargeMemory(size_t bytes)
{
    if (bytes > t_limit - std::min(t_held, t_limit))
        raiseError(ErrOutOfMemory);
    t_held += bytes;
}

// A text made on another thread may be freed here: the count never wraps below zero.
void creditMemory(size_t bytes) { t_held -= std::min(bytes, t_held); }

size_t heldMemory() { return t_held; }

MemoryBudgetScope::MemoryBudgetScope(uint64_t budget)
    : m_outerLimit(t_limit)
{
    const size_t room = SIZE_MAX - t_held;
    const size_t limit = t_held + size_t(std::min<uint64_t>(budget, room));
    t_limit = std::min(limit, m_outerLimit);
}

MemoryBudgetScope::~MemoryBudgetScope() { t_limit = m_outerLimit; }

} // namespace vorpane::script
