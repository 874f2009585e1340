#pragma once
// InvestigatorHistory: the undo and redo lists of a document, whole deep copies of its
// investigator, newest first, each at most kMaxDepth long (a further snapshot drops the oldest).

#include "investigator/investigator.h"

#include <deque>
#include <memory>

namespace vorpane {

class InvestigatorHistory {
public:
    static constexpr int kMaxDepth = 5;

    // Before a change: a copy of current goes to the head of the undo list; the redo list empties.
    void checkpoint(const Investigator& current);
    // Restores the newest undo snapshot into current, keeping current for redo. False (nothing
    // changes) when there is nothing to undo.
    bool undo(Investigator& current);
    // The mirror image of undo.
    bool redo(Investigator& current);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoDepth() const { return int(m_undo.size()); }
    int redoDepth() const { return int(m_redo.size()); }
    void clear();

private:
    using Stack = std::deque<std::unique_ptr<Investigator>>;
    static void push(Stack& stack, const Investigator& state);
    static bool restore(Stack& from, Stack& to, Investigator& current);

    Stack m_undo;
    Stack m_redo;
};

} // namespace vorpane
