#pragma once
// ScriptRunner: how every part of the application prepares and starts a script run.
//   ScriptRunner runner;
//   runner.loadFile(path) or loadText(text);  // a text goes through a temporary file "VRP..."
//                                             // in a private folder made for it
//   runner.registerValue("dice", ScriptValue(new DiceObject));
//   int32_t value; int ok = runner.run(&value);
// The runner deletes its temporary file and folder and destroys the interpreter (and with it every
// registered object it still holds) when it is destroyed.

#include "script/interpreter.h"

#include <memory>
#include <string>

class QTemporaryDir;

namespace vorpane::script {

class ScriptRunner {
public:
    ScriptRunner();
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Message boxes are owned by the Ui services' main window; kept for the run protocol.
    void setOwnerWindow(void* window) { m_owner = window; }

    int loadFile(const std::string& path);
    // Writes the text to the temporary file and loads that; 0 when the file cannot be written.
    int loadText(const std::string& text);
    // Loads the text without touching the disk (for tools and fuzzing).
    int loadTextInMemory(const std::string& text);

    // A global of the script before the run: an Object (a host object) or a Reference to the
    // caller's storage. 0 when no script is loaded.
    int registerValue(const std::string& name, const ScriptValue& value);

    // 1 for success, 0 for failure (or nothing loaded); outValue gets the script's integer value.
    int run(int32_t* outValue = nullptr);

    void setStepBudget(uint64_t steps);

    ScriptInterpreter* interpreter() { return m_interpreter.get(); }
    const std::string& temporaryFileName() const { return m_tempPath; }

private:
    bool makeTemporaryFile();
    void removeTemporaryFile();

    std::unique_ptr<ScriptInterpreter> m_interpreter;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    std::string m_tempPath;
    void* m_owner = nullptr;
    uint64_t m_stepBudget = 0;
};

} // namespace vorpane::script
