#include "investigator/investigator_history.h"

namespace vorpane {

void InvestigatorHistory::push(Stack& stack, const Investigator& state)
{
    stack.push_front(std::make_unique<Investigator>(state));
    while (int(stack.size()) > kMaxDepth)
        stack.pop_back();
}

bool InvestigatorHistory::restore(Stack& from, Stack& to, Investigator& current)
{
    if (from.empty())
        return false;
    push(to, current);
    std::unique_ptr<Investigator> snapshot = std::move(from.front());
    from.pop_front();
    // The snapshot is a deep copy nobody else sees, so it can simply become the current state.
    current = std::move(*snapshot);
    return true;
}

void InvestigatorHistory::checkpoint(const Investigator& current)
{
    push(m_undo, current);
    m_redo.clear();
}

bool InvestigatorHistory::undo(Investigator& current) { return restore(m_undo, m_redo, current); }

bool InvestigatorHistory::redo(Investigator& current) { return restore(m_redo, m_undo, current); }

void InvestigatorHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

} // namespace vorpane
