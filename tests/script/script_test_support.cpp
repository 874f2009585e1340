#include "script_test_support.h"

#include "platform/cp1252.h"
#include "script/script_runner.h"

namespace vorpane::script::test {

ScriptValue makeValue(const QString& notation)
{
    const QString text = notation.mid(2);
    switch (notation.at(0).toLatin1()) {
    case 's':
        return ScriptValue(toCp1252(text));
    case 'i':
        return ScriptValue(int32_t(text.toLongLong()));
    case 'u':
        return ScriptValue(uint32_t(text.toULongLong()));
    case 'f':
        return ScriptValue(text.toDouble());
    default:
        return ScriptValue::null();
    }
}

QString describe(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    const char* letters = "nsiufro";
    return QString(QChar(letters[int(v.kind())])) + ":" + fromCp1252(v.toText());
}

RunResult runScript(const std::string& text, RecordingUi& ui, uint64_t stepBudget)
{
    RunResult result;
    {
        ScriptRunner runner;
        runner.setStepBudget(stepBudget);
        runner.loadTextInMemory(text);
        result.ok = runner.run(&result.value);
    }
    for (const RecordingUi::Box& box : ui.boxes)
        result.boxes << fromCp1252(box.text);
    return result;
}

RunResult runScript(const std::string& text)
{
    ScopedRecordingUi ui;
    return runScript(text, ui);
}

} // namespace vorpane::script::test
