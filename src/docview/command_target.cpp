#include "docview/command_target.h"

namespace vorpane {

bool CommandTarget::commandState(const QString& id, CommandState& state) const
{
    const auto it = m_handlers.constFind(id);
    if (it == m_handlers.constEnd())
        return false;
    state = it->state ? it->state() : CommandState {};
    return true;
}

bool CommandTarget::runCommand(const QString& id)
{
    const auto it = m_handlers.constFind(id);
    if (it == m_handlers.constEnd())
        return false;
    // Copies: a command may close the window that owns this target.
    const Handler handler = *it;
    if (!handler.state || handler.state().enabled)
        handler.run();
    return true;
}

void CommandTarget::addCommand(const QString& id, Run run, State state)
{
    m_handlers.insert(id, Handler { std::move(run), std::move(state) });
}

void CommandTarget::addCommandIf(const QString& id, Run run, std::function<bool()> enabled)
{
    addCommand(id, std::move(run), [enabled = std::move(enabled)] {
        return CommandState { enabled(), false };
    });
}

} // namespace vorpane
