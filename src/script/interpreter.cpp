// ScriptInterpreter: loading, the run, variables and the error report.

#include "script/interpreter.h"

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "script/array_object.h"
#include "script/bytecode.h"
#include "script/error_line.h"
#include "script/error_titles.h"
#include "script/member_name.h"
#include "script/memory_budget.h"
#include "script/op_tree.h"
#include "script/script_object.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <new>
#include <pthread.h>

namespace vorpane::script {

namespace {

const char* const kUnhandledMessage
    = "Unhandled exception:\nThis is probably due to a stack overflow. This program does not handle deep "
      "recursive functions very well - try rewriting the script without recursion.\nThis exception may also "
      "be caused by an internal parser error.";

// Stack kept free below the deepest evaluation for host objects and message boxes: an eighth of
// what the thread has left, within these bounds.
constexpr size_t kStackReserveShare = 8;
constexpr size_t kMinStackReserve = 64 * 1024;
constexpr size_t kMaxStackReserve = 1024 * 1024;
// Assumed room when the thread's stack cannot be queried.
constexpr size_t kFallbackStackRoom = 512 * 1024;

// The run in progress on this thread.
thread_local ScriptInterpreter* t_running = nullptr;

} // namespace

bool scriptRunInProgress() { return t_running != nullptr; }

bool ScriptInterpreter::spendSteps(uint64_t steps)
{
    if (m_stepsLeft > steps) {
        m_stepsLeft -= steps;
        return true;
    }
    // The two parts never add up past UINT64_MAX (see run()).
    const uint64_t left = m_stepsLeft + m_stepsBeyond;
    if (left > steps) {
        m_stepsBeyond = left - steps;
        refillSteps();
        pollBreakKey();
        return true;
    }
    m_stepsLeft = 1;
    m_stepsBeyond = 0;
    stop();
    return false;
}

ScriptInterpreter::ScriptInterpreter(std::string scriptPath)
    : m_path(std::move(scriptPath))
    , m_useBytecode(bytecodeByDefault())
{
}

ScriptInterpreter::~ScriptInterpreter()
{
    // Values may hold host objects whose destruction must find the rest intact, so the
    // variables go first, newest first.
    resetFrames();
    m_variables.popTo(0);
    for (auto& frame : m_frames)
        frame->resting.clear();
    m_ops.clear();
    m_scratch = ScriptValue();
    m_returned = ScriptValue();
    m_statementValue = ScriptValue();
    // Cycles of arrays are freed once the outermost run on this thread is over: an inner run's
    // arrays may still be held by the outer run's variables.
    if (!t_running)
        ArrayObject::collectCycles();
}

void ScriptInterpreter::setScriptText(std::string text)
{
    m_text = std::move(text);
    m_hasText = true;
}

int32_t ScriptInterpreter::internName(const std::string& name)
{
    auto [it, inserted] = m_nameIds.try_emplace(name, int32_t(m_names.size()));
    if (inserted) {
        m_names.push_back(name);
        m_globalById.push_back(nullptr);
        m_functionById.push_back(-1);
    }
    return it->second;
}

bool ScriptInterpreter::declareGlobal(const std::string& name, const ScriptValue& value)
{
    NameSlot slot;
    slot.nameId = internName(name);
    return declare(slot, ScriptValue(value), nullptr);
}

bool ScriptInterpreter::registerClass(const std::string& name, ClassFactory factory)
{
    if (name.size() > kMaxNameLength)
        return false;
    for (const ClassEntry& entry : m_classes)
        if (sameName(entry.name, name))
            return false;
    m_classes.insert(m_classes.begin(), ClassEntry { name, std::move(factory) });
    return true;
}

void ScriptInterpreter::reportError(const SyntaxNode* node, std::string_view message)
{
    noteScriptError(node ? node->line : 0);
    std::string text;
    if (node) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "Line %d : ", int(node->line));
        text = prefix;
    }
    text += message;
    ui().messageBox(text, kScriptErrorTitle, MsgIcon::Warning, MsgButtons::Ok);
    stop();
}

// --- Variables --------------------------------------------------------------------------------

bool ScriptInterpreter::declare(const NameSlot& slot, ScriptValue&& value, const SyntaxNode* node)
{
    switch (slot.place) {
    case NamePlace::Parameter:
        break;
    case NamePlace::Local:
    case NamePlace::LeadingLocal: {
        Variable& v = slot.frame->locals[slot.index];
        if (v.nameId >= 0)
            break;
        v.nameId = slot.nameId;
        v.value = std::move(value);
        return true;
    }
    case NamePlace::Global:
        if (m_globalById[size_t(slot.nameId)])
            break;
        addGlobal(slot.nameId, std::move(value));
        return true;
    }
    reportDeclaredTwice(node, slot.nameId);
    return false;
}

void ScriptInterpreter::reportDeclaredTwice(const SyntaxNode* node, int32_t nameId)
{
    reportError(node, "Variable \"" + m_names[size_t(nameId)] + "\" has already been declared!");
}

void ScriptInterpreter::resetFrames()
{
    m_calls.clear();
    for (auto& frame : m_frames) {
        frame->parameters = frame->resting.data();
        frame->locals = frame->parameters + frame->parameterIds.size();
    }
    m_callDepth = 0;
}

// --- The run ----------------------------------------------------------------------------------

bool ScriptInterpreter::loadProgram()
{
    m_tree = std::make_shared<SyntaxTree>();
    std::string text;
    if (m_hasText) {
        text = m_text;
    } else if (!readTextFile(m_path, kMaxScriptFileBytes, text)) {
        reportError(nullptr, "Couldn't open file");
        return false;
    }
    m_tree = parseScriptShared(text);
    return m_tree->program != nullptr;
}

void ScriptInterpreter::prepareTree()
{
    // Newest declaration first: the first one of a name is the one calls find.
    for (const FunctionDef& def : m_tree->functions) {
        auto frame = std::make_unique<FunctionFrame>();
        frame->def = &def;
        for (const SyntaxNode* parameter : def.parameters)
            frame->parameterIds.push_back(internName(parameter ? parameter->text : std::string()));
        if (def.name) {
            int32_t id = internName(def.name->text);
            if (m_functionById[size_t(id)] < 0)
                m_functionById[size_t(id)] = int32_t(m_frames.size());
        }
        m_frames.push_back(std::move(frame));
    }
    buildOps();
}

void ScriptInterpreter::setStackLimit()
{
    auto here = uintptr_t(__builtin_frame_address(0));
    size_t room = kFallbackStackRoom;
    // The thread's stack, asked once per thread: for the main thread the answer comes from
    // reading the process's memory map.
    thread_local const uintptr_t t_stackLow = [] {
        uintptr_t found = 0;
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            void* low = nullptr;
            size_t size = 0;
            if (pthread_attr_getstack(&attr, &low, &size) == 0)
                found = uintptr_t(low);
            pthread_attr_destroy(&attr);
        }
        return found;
    }();
    if (t_stackLow && here > t_stackLow)
        room = here - t_stackLow;
    size_t reserve = std::clamp(room / kStackReserveShare, kMinStackReserve, kMaxStackReserve);
    if (reserve > room / 2)
        reserve = room / 2;
    m_stackLimit = here - (room - reserve);
}

int ScriptInterpreter::run(int32_t* outValue)
{
    if (outValue)
        *outValue = 0;
    struct Running {
        ScriptInterpreter* outer = t_running;
        StepBudgetKeeper* outerKeeper;
        explicit Running(ScriptInterpreter* in)
            : outerKeeper(installStepBudgetKeeper(in))
        {
            t_running = in;
        }
        ~Running()
        {
            t_running = outer;
            installStepBudgetKeeper(outerKeeper);
        }
    } running(this);
    MemoryBudgetScope memory(m_memoryBudget ? m_memoryBudget : defaultMemoryBudget());
    try {
        m_ranBytecode = false;
        if (!loadProgram())
            return 0;
        prepareTree();
        std::unique_ptr<BytecodeProgram> bytecode;
        if (m_useBytecode)
            bytecode = compileBytecode(*this);
        m_flags.breakCount = m_flags.returnCount = m_flags.continueCount = 0;
        m_stopped = m_flags.abort;
        takeBreakKey();
        m_stepsLeft = 0;
        m_stepsBeyond = m_stepBudget ? m_stepBudget + 1 : UINT64_MAX;
        refillSteps();
        setStackLimit();
        m_ranBytecode = bytecode != nullptr;
        ScriptValue value
            = bytecode ? runBytecode(*bytecode) : eval(*static_cast<const Op*>(m_tree->program->cacheOwner));
        if (outValue)
            *outValue = value.toInteger();
    } catch (const ScriptError& error) {
        valueError(nullptr, error.code());
    } catch (const StackExhausted&) {
        reportError(nullptr, kUnhandledMessage);
    } catch (const std::bad_alloc&) {
        // Memory that ran out outside the charged paths: the run's values are already unwound.
        valueError(nullptr, ErrOutOfMemory);
    } catch (...) {
        reportError(nullptr, kUnhandledMessage);
    }
    resetFrames();
    if (!m_flags.abort)
        return 1;
    // A run that failed has no value: what its statements left on the way out depends on how far
    // each engine got.
    if (outValue)
        *outValue = 0;
    return 0;
}

} // namespace vorpane::script
