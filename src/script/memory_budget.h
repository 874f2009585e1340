#pragma once
// The memory budget of the run in progress on this thread. Texts and array elements are charged
// when they are made or grow and credited when they go; past the budget the allocation raises
// ErrOutOfMemory, which the run reports on the line that asked for it. Outside a run nothing is
// refused, only counted.

#include <cstddef>
#include <cstdint>

namespace vorpane::script {

// What one run may hold unless told otherwise: far beyond any sheet or rule script, far below
// what would push the desktop into the system's out-of-memory killer.
constexpr uint64_t kDefaultMemoryBudget = 256ull * 1024 * 1024;

// The budget of every run that sets none of its own (vorpane-cli's --memory).
void setDefaultMemoryBudget(uint64_t bytes);
uint64_t defaultMemoryBudget();

// Raises ErrOutOfMemory when the run in progress would hold more than its budget.
void chargeMemory(size_t bytes);
void creditMemory(size_t bytes);

// Bytes of texts and arrays alive on this thread.
size_t heldMemory();

// Lets a run hold at most `budget` bytes more than the thread held when it started, for as long
// as this object lives. Runs nest: an inner run never gets more than the outer one has left.
class MemoryBudgetScope {
public:
    explicit MemoryBudgetScope(uint64_t budget);
    ~MemoryBudgetScope();
    MemoryBudgetScope(const MemoryBudgetScope&) = delete;
    MemoryBudgetScope& operator=(const MemoryBudgetScope&) = delete;

private:
    size_t m_outerLimit;
};

} // namespace vorpane::script
