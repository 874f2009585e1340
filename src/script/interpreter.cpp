// ScriptInterpreter: loading, the run, variables and the error report.

#include "script/interpreter.h"

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "script/member_name.h"
#include "script/op_tree.h"
#include "script/script_object.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <pthread.h>

namespace vorpane::script {

namespace {

const char* const kErrorTitle = "Script Error";
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

// A text-mode read: the file's bytes with CR LF turned into LF.
bool readScriptFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    text.clear();
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    return true;
}

// The run in progress on this thread, for spendSteps().
thread_local ScriptInterpreter* t_running = nullptr;

} // namespace

bool spendSteps(uint64_t steps)
{
    ScriptInterpreter* in = t_running;
    if (!in)
        return true;
    if (in->m_stepsLeft > steps) {
        in->m_stepsLeft -= steps;
        return true;
    }
    in->m_stepsLeft = 1;
    in->stop();
    return false;
}

ScriptInterpreter::ScriptInterpreter(std::string scriptPath)
    : m_path(std::move(scriptPath))
{
    m_global.global = true;
}

ScriptInterpreter::~ScriptInterpreter()
{
    // Values may hold host objects whose destruction must find the rest intact, so the
    // variables go first, newest first.
    m_variables.popTo(0);
    for (auto& frame : m_frames)
        frame->parameters.clear();
    m_ops.clear();
    m_scratch = ScriptValue();
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
        m_globalById.push_back(-1);
        m_functionById.push_back(-1);
    }
    return it->second;
}

bool ScriptInterpreter::declareGlobal(const std::string& name, const ScriptValue& value)
{
    return declare(m_global, internName(name), ScriptValue(value), nullptr);
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
    std::string text;
    if (node) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "Line %d : ", int(node->line));
        text = prefix;
    }
    text += message;
    ui().messageBox(text, kErrorTitle, MsgIcon::Warning, MsgButtons::Ok);
    stop();
}

// --- Variables --------------------------------------------------------------------------------

bool ScriptInterpreter::declare(
    FunctionFrame& scope, int32_t nameId, ScriptValue&& value, const SyntaxNode* node)
{
    if (isDeclared(scope, nameId)) {
        reportDeclaredTwice(node, nameId);
        return false;
    }
    addVariable(scope, nameId, std::move(value));
    return true;
}

void ScriptInterpreter::reportDeclaredTwice(const SyntaxNode* node, int32_t nameId)
{
    reportError(node, "Variable \"" + m_names[size_t(nameId)] + "\" has already been declared!");
}

ScriptValue* ScriptInterpreter::findVariable(int32_t nameId)
{
    FunctionFrame* scope = m_scope;
    if (!scope->global) {
        const int32_t* ids = scope->parameterIds.data();
        for (size_t i = 0, n = scope->parameterIds.size(); i < n; ++i)
            if (ids[i] == nameId)
                return &scope->parameters[i];
        for (size_t i = scope->localBase + scope->localCount; i > scope->localBase; --i) {
            Variable& v = m_variables.at(i - 1);
            if (v.nameId == nameId)
                return &v.value;
        }
    }
    int32_t global = m_globalById[size_t(nameId)];
    return global >= 0 ? &m_variables.at(size_t(global)).value : nullptr;
}

ScriptValue* ScriptInterpreter::lookupSlow(NameSlot& slot)
{
    FunctionFrame* scope = m_scope;
    if (slot.frame != scope) {
        slot.frame = scope;
        auto parameter = std::find(scope->parameterIds.begin(), scope->parameterIds.end(), slot.nameId);
        slot.parameter
            = parameter == scope->parameterIds.end() ? -1 : int32_t(parameter - scope->parameterIds.begin());
        auto local = std::find(scope->localNames.begin(), scope->localNames.end(), slot.nameId);
        slot.local = local == scope->localNames.end() ? -1 : int32_t(local - scope->localNames.begin());
    }
    ScriptValue* storage = nullptr;
    if (slot.parameter >= 0) {
        storage = &scope->parameters[size_t(slot.parameter)];
    } else if (slot.local < 0) {
        // No declaration of the function has this name: a global or nothing.
        int32_t global = m_globalById[size_t(slot.nameId)];
        storage = global >= 0 ? &m_variables.at(size_t(global)).value : nullptr;
    } else {
        Variable* v = uint32_t(slot.local) < scope->localCount
            ? &m_variables.at(scope->localBase + size_t(slot.local))
            : nullptr;
        // Not at its usual place: not declared yet, or declared in another order.
        storage = v && v->nameId == slot.nameId ? &v->value : findVariable(slot.nameId);
    }
    if (storage) {
        slot.activation = scope->activation;
        slot.storage = storage;
    }
    return storage;
}

// --- The run ----------------------------------------------------------------------------------

bool ScriptInterpreter::loadProgram()
{
    m_tree = SyntaxTree();
    std::string text;
    if (m_hasText) {
        text = m_text;
    } else if (!readScriptFile(m_path, text)) {
        reportError(nullptr, "Couldn't open file");
        return false;
    }
    m_tree = parseScript(text);
    return m_tree.program != nullptr;
}

void ScriptInterpreter::prepareTree()
{
    // Newest declaration first: the first one of a name is the one calls find.
    for (const FunctionDef& def : m_tree.functions) {
        auto frame = std::make_unique<FunctionFrame>();
        frame->def = &def;
        for (const SyntaxNode* parameter : def.parameters) {
            frame->parameterIds.push_back(internName(parameter ? parameter->text : std::string()));
            frame->parameters.emplace_back();
        }
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
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* low = nullptr;
        size_t size = 0;
        if (pthread_attr_getstack(&attr, &low, &size) == 0 && low && here > uintptr_t(low))
            room = here - uintptr_t(low);
        pthread_attr_destroy(&attr);
    }
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
        explicit Running(ScriptInterpreter* in) { t_running = in; }
        ~Running() { t_running = outer; }
    } running(this);
    try {
        if (!loadProgram())
            return 0;
        prepareTree();
        m_flags.breakCount = m_flags.returnCount = m_flags.continueCount = 0;
        m_stopped = m_flags.abort;
        m_global.activation = ++m_lastActivation;
        takeBreakKey();
        m_scope = &m_global;
        m_stepsLeft = m_stepBudget ? m_stepBudget + 1 : UINT64_MAX;
        setStackLimit();
        ScriptValue value = eval(*static_cast<const Op*>(m_tree.program->cacheOwner));
        if (outValue)
            *outValue = value.toInteger();
    } catch (const ScriptError& error) {
        valueError(nullptr, error.code());
    } catch (const StackExhausted&) {
        reportError(nullptr, kUnhandledMessage);
    } catch (...) {
        reportError(nullptr, kUnhandledMessage);
    }
    m_scope = &m_global;
    return m_flags.abort ? 0 : 1;
}

} // namespace vorpane::script
