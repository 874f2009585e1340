#pragma once
// Where a script went wrong, for an editor that puts its caret there: the line of the first error
// the engine reports (parse and run errors alike) while a recorder lives. Recorders nest; the
// innermost one on the thread takes the notes.

#include <cstdint>

namespace vorpane::script {

class ErrorLineRecorder {
public:
    ErrorLineRecorder();
    ~ErrorLineRecorder();
    ErrorLineRecorder(const ErrorLineRecorder&) = delete;
    ErrorLineRecorder& operator=(const ErrorLineRecorder&) = delete;

    bool errorReported() const { return m_reported; }
    // The first error's line counted from 1; 0 when nothing was reported or the first message
    // had no line ("Couldn't open file", the unhandled exception).
    int32_t line() const { return m_line; }

private:
    friend void noteScriptError(int32_t line);

    ErrorLineRecorder* m_outer;
    bool m_reported = false;
    int32_t m_line = 0;
};

// The line of the member call in progress on this thread (0 outside one), for a host object
// that notes where what it makes came from.
inline thread_local int32_t t_memberCallLine = 0;
inline int32_t memberCallLine() { return t_memberCallLine; }

// Called by the engine's two reporters with the line they show (0 for none).
void noteScriptError(int32_t line);

} // namespace vorpane::script
