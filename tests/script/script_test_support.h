#pragma once
// Shared helpers of the script engine tests: values written as short texts, and script runs
// with a recording Ui.

#include "platform/recording_ui.h"
#include "script/script_value.h"

#include <QString>
#include <QStringList>
#include <string>

namespace vorpane::script::test {

// "n" Null, "s:text" String, "i:-5" Integer, "u:7" Unsigned, "f:2.5" Float.
ScriptValue makeValue(const QString& notation);
// The same notation for a value after following references: kind letter, ":" and its text.
QString describe(const ScriptValue& value);
// describe() of the operation's result, or "e:CODE" when it raises.
template <typename Operation> QString outcome(Operation operation)
{
    try {
        return describe(operation());
    } catch (const ScriptError& error) {
        return QStringLiteral("e:%1").arg(error.code());
    }
}

struct RunResult {
    int ok = 0;
    int32_t value = 0;
    QStringList boxes; // texts of every box, in order
};

// Runs a script text (in memory) with a fresh recording Ui installed for the run.
RunResult runScript(const std::string& text, RecordingUi& ui, uint64_t stepBudget = 0);
RunResult runScript(const std::string& text);

} // namespace vorpane::script::test
