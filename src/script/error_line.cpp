#include "script/error_line.h"

namespace vorpane::script {

namespace {

thread_local ErrorLineRecorder* t_recorder = nullptr;

} // namespace

ErrorLineRecorder::ErrorLineRecorder()
    : m_outer(t_recorder)
{
    t_recorder = this;
}

ErrorLineRecorder::~ErrorLineRecorder() { t_recorder = m_outer; }

void noteScriptError(int32_t line)
{
    ErrorLineRecorder* recorder = t_recorder;
    if (!recorder || recorder->m_reported)
        return;
    recorder->m_reported = true;
    recorder->m_line = line > 0 ? line : 0;
}

} // namespace vorpane::script
