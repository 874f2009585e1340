// ScriptRunner: the temporary file, the predefined names and the run.

#include "script/script_runner.h"

#include "platform/save_file.h"
#include "script/array_object.h"
#include "script/math_object.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace vorpane::script {

namespace {

const char* const kTempPattern = "VRPXXXXXX";

} // namespace

ScriptRunner::ScriptRunner() = default;

ScriptRunner::~ScriptRunner()
{
    m_interpreter.reset();
    removeTemporaryFile();
}

// A text is run from a file of its own in a folder only this user can enter (QTemporaryDir makes
// it 0700), so that no other user of the machine can read or swap it between write and run.
bool ScriptRunner::makeTemporaryFile()
{
    if (!m_tempPath.empty())
        return true;
    m_tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1String("/vorpane-XXXXXX"));
    if (!m_tempDir->isValid()) {
        m_tempDir.reset();
        return false;
    }
    QTemporaryFile file(m_tempDir->path() + QLatin1Char('/') + QLatin1String(kTempPattern));
    file.setAutoRemove(false);
    if (!file.open()) {
        m_tempDir.reset();
        return false;
    }
    m_tempPath = QFile::encodeName(file.fileName()).toStdString();
    return true;
}

void ScriptRunner::removeTemporaryFile()
{
    if (!m_tempPath.empty())
        QFile::remove(QFile::decodeName(m_tempPath.c_str()));
    m_tempDir.reset(); // removes the folder
}

int ScriptRunner::loadFile(const std::string& path)
{
    m_interpreter = std::make_unique<ScriptInterpreter>(path);
    m_interpreter->setStepBudget(m_stepBudget);
    return 1;
}

int ScriptRunner::loadText(const std::string& text)
{
    if (!makeTemporaryFile())
        return 0;
    if (saveFile(m_tempPath, text) != SaveResult::Saved)
        return 0;
    return loadFile(m_tempPath);
}

int ScriptRunner::loadTextInMemory(const std::string& text)
{
    loadFile(m_tempPath);
    m_interpreter->setScriptText(text);
    return 1;
}

int ScriptRunner::registerValue(const std::string& name, const ScriptValue& value)
{
    if (!m_interpreter)
        return 0;
    return m_interpreter->declareGlobal(name, value) ? 1 : 0;
}

void ScriptRunner::setStepBudget(uint64_t steps)
{
    m_stepBudget = steps;
    if (m_interpreter)
        m_interpreter->setStepBudget(steps);
}

int ScriptRunner::run(int32_t* outValue)
{
    if (outValue)
        *outValue = 0;
    if (!m_interpreter)
        return 0;
    ScriptInterpreter& interpreter = *m_interpreter;
    ScriptValue null = ScriptValue::null();
    interpreter.declareGlobal("null", null);
    interpreter.declareGlobal("true", ScriptValue(1));
    interpreter.declareGlobal("false", ScriptValue(0));
    interpreter.declareGlobal("math", ScriptValue(new MathObject));
    interpreter.registerClass("array", ArrayObject::create);
    return interpreter.run(outValue);
}

} // namespace vorpane::script
