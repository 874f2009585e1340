#pragma once
// Menu and toolbar commands are named by stable ids ("file.save"). The main frame routes each
// command to the active view, then to that view's document, then to the application: the first
// target that knows the id runs it and reports whether it is enabled and checked. A document type
// adds commands by handling their ids; the frame needs to know nothing of them.

#include <QHash>
#include <QString>
#include <functional>

namespace vorpane {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // True when this target knows the id; `state` is then filled in.
    virtual bool commandState(const QString& id, CommandState& state) const;
    // True when this target knows the id; the command ran when it was enabled.
    virtual bool runCommand(const QString& id);

protected:
    using Run = std::function<void()>;
    using State = std::function<CommandState()>;

    // Without a state function the command is always enabled and unchecked.
    void addCommand(const QString& id, Run run, State state = {});
    // A command that is enabled while `enabled` answers true.
    void addCommandIf(const QString& id, Run run, std::function<bool()> enabled);

private:
    struct Handler {
        Run run;
        State state;
    };
    QHash<QString, Handler> m_handlers;
};

} // namespace vorpane
