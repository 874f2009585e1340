// Calls: user functions, the library functions alert, confirm and prompt, member functions of
// objects and "new".

#include "platform/ui_services.h"
#include "script/member_name.h"
#include "script/op_tree.h"
#include "script/script_object.h"

#include <algorithm>
#include <bit>

namespace vorpane::script {

namespace {

// Argument values of a library, member or class call; a few live inline, more on the heap.
class ArgumentValues {
public:
    explicit ArgumentValues(size_t count)
        : m_count(count)
    {
        if (count > kInline) {
            m_heap.resize(count);
            m_data = m_heap.data();
        }
    }
    ScriptValue* data() { return m_data; }
    ScriptValue& operator[](size_t i) { return m_data[i]; }
    int count() const { return int(m_count); }

private:
    static constexpr size_t kInline = 4;
    ScriptValue m_inline[kInline];
    std::vector<ScriptValue> m_heap;
    ScriptValue* m_data = m_inline;
    size_t m_count;
};

const std::string& nameOf(const Op& identifier)
{
    static const std::string noName;
    return identifier.node ? identifier.node->text : noName;
}

} // namespace

ScriptValue OpHandlers::call(ScriptInterpreter& in, const Op& op)
try {
    in.checkStack();
    if (in.m_callDepth >= kMaxCallDepth) {
        in.reportError(op.node, "Stack Overflow");
        return ScriptValue();
    }
    ++in.m_callDepth;
    ScriptValue value = op.function ? callUserFunction(in, op, *op.function)
                                    : callLibraryFunction(in, op, nameOf(*op.child[0]));
    --in.m_callDepth;
    if (in.m_flags.returnCount)
        in.countDown(in.m_flags.returnCount);
    return value;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// One message per missing parameter, or one for arguments left over (which are not evaluated),
// unless an argument has already stopped the run.
void OpHandlers::reportArgumentCount(ScriptInterpreter& in, const Op& op, size_t wanted)
{
    size_t given = op.list.size();
    if (in.m_flags.abort)
        return;
    const std::string& name = nameOf(*op.child[0]);
    for (size_t i = given; i < wanted; ++i)
        in.reportError(op.node, "Too few parameters for function call to \"" + name + "\"");
    if (given > wanted)
        in.reportError(op.node, "Too many parameters for function call to \"" + name + "\"");
}

void OpHandlers::inheritParameters(Variable* record, const Variable* outer, size_t count, uint64_t inherited)
{
    for (size_t i = 0; i < count; ++i, inherited >>= 1)
        if (inherited & 1 || i >= 64)
            record[i].value = outer[i].value;
}

ScriptValue OpHandlers::callUserFunction(ScriptInterpreter& in, const Op& op, FunctionFrame& function)
{
    // The call's record starts with the parameter values of the innermost running call (or of
    // none), which a missing argument leaves in place, and the arguments are assigned to it one
    // by one: an argument that reads the function's own parameters (in a recursive call) sees
    // those already assigned. The caller's locals stay visible until the body starts. (A failure
    // that unwinds this ends the run, which then resets every frame.)
    FrameStack& calls = in.m_calls;
    const FrameStack::Mark mark = calls.mark();
    const size_t parameterCount = function.parameterCount;
    const size_t size = function.recordSize;
    Variable* record = calls.allocate(size);
    Variable* outerParameters = function.parameters;
    Variable* outerLocals = function.locals;
    const size_t given = op.list.size();
    const Op* const* arguments = op.list.data();
    if (op.argumentsFirst) [[likely]] {
        // Every argument reads what it would read from the new record, from the innermost
        // running call, and overwrites nothing: each goes straight into its fresh slot.
        for (size_t i = 0; i < given; ++i)
            evaluateInto(in, *arguments[i], record[i].value);
        function.parameters = record;
    } else {
        // (Only the parameters something can see before they are assigned.)
        if (const uint64_t inherited = op.inheritedParameters) {
            if (parameterCount <= 64) [[likely]] {
                for (uint64_t bits = inherited; bits; bits &= bits - 1) {
                    const auto i = size_t(std::countr_zero(bits));
                    if (i >= parameterCount)
                        break;
                    record[i].value = outerParameters[i].value;
                }
            } else {
                inheritParameters(record, outerParameters, parameterCount, inherited);
            }
        }
        function.parameters = record;

        // Each slot is assigned before the next argument is evaluated, in the caller's scope.
        for (size_t i = 0, n = std::min(given, parameterCount); i < n; ++i) {
            ScriptValue& slot = record[i].value;
            if (slot.isWritableNumber()) [[likely]] {
                evaluateInto(in, *arguments[i], slot);
            } else {
                ScriptValue temp;
                slot = in.read(*arguments[i], temp).deref();
            }
        }
        if (given != parameterCount) [[unlikely]]
            reportArgumentCount(in, op, parameterCount);
    }

    function.locals = record + parameterCount;
    const Op& body = *function.body;
    ScriptValue value;
    if (in.enter(body)) [[likely]] {
        if (body.run == &sequence)
            runSequenceInto(in, body, value);
        else
            value = materialize(body.run(in, body));
    }
    function.parameters = outerParameters;
    function.locals = outerLocals;
    for (size_t i = size; i-- > 0;)
        record[i].clear();
    calls.release(mark);
    return value;
}

ScriptValue OpHandlers::callLibraryFunction(ScriptInterpreter& in, const Op& op, const std::string& name)
{
    bool known = name == "alert" || name == "confirm" || (name == "prompt" && ui().hasMainWindow());
    if (!known) {
        in.reportError(op.node, "Function \"" + name + "\" has not been declared!");
        return ScriptValue();
    }
    ArgumentValues args(op.list.size());
    for (size_t i = 0; i < op.list.size(); ++i)
        args[i] = in.eval(*op.list[i]);
    if (in.m_flags.abort)
        return ScriptValue();
    if (args.count() != 1) {
        in.reportError(op.node, name + "() takes one parameter");
        return ScriptValue();
    }
    std::string text = args[0].toText();
    if (name == "alert") {
        ui().messageBox(text, "Message", MsgIcon::Warning, MsgButtons::Ok);
        return ScriptValue(0);
    }
    if (name == "confirm") {
        MsgResult answer = ui().messageBox(text, "Confirm", MsgIcon::Warning, MsgButtons::YesNo);
        return ScriptValue(int32_t(answer == MsgResult::Yes));
    }
    std::optional<std::string> typed = ui().prompt(text);
    return typed ? ScriptValue(std::string_view(*typed)) : ScriptValue::null();
}

void OpHandlers::reportCallStatus(ScriptInterpreter& in, const Op& op, int status, const std::string& name)
{
    switch (status) {
    case CallOk:
        return;
    case CallReported:
        in.stop();
        return;
    case CallNotFound:
        in.reportError(op.node, "Member function " + name + " not found!");
        return;
    case CallTooFew:
        in.reportError(op.node, name + "() : too few parameters");
        return;
    case CallTooMany:
        in.reportError(op.node, name + "() : too many parameters");
        return;
    default:
        in.reportError(op.node, "failed to call member function " + name);
        return;
    }
}

ScriptValue OpHandlers::methodCall(ScriptInterpreter& in, const Op& op)
try {
    const std::string& name = nameOf(*op.child[1]);
    ScriptValue target = in.eval(*op.child[0]);
    if (in.m_flags.abort)
        return ScriptValue();
    // Held for the whole call: an argument may overwrite the variable that held the object.
    ScriptValue hold(target.object());
    target = ScriptValue();
    if (!hold.isObject()) {
        in.reportError(op.node, "Member function call " + name + " on non-object");
        return ScriptValue();
    }
    ArgumentValues args(op.list.size());
    for (size_t i = 0; i < op.list.size(); ++i)
        args[i] = in.eval(*op.list[i]);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptValue result;
    int status = hold.objectValue()->callMember(name, args.data(), args.count(), result);
    reportCallStatus(in, op, status, name);
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

ScriptValue OpHandlers::newObject(ScriptInterpreter& in, const Op& op)
try {
    const Op& constructor = *op.child[0];
    if (!constructor.node || constructor.node->kind != NodeKind::Constructor) {
        in.reportError(op.node, "Unexpected node type in parse tree");
        return ScriptValue();
    }
    const std::string& name = nameOf(*constructor.child[0]);
    const ScriptInterpreter::ClassEntry* found = nullptr;
    for (const auto& entry : in.m_classes) {
        if (sameName(entry.name, name)) {
            found = &entry;
            break;
        }
    }
    if (!found) {
        in.reportError(op.node, "Class " + name + " not defined");
        return ScriptValue();
    }
    ClassFactory factory = found->factory;
    ArgumentValues args(constructor.list.size());
    for (size_t i = 0; i < constructor.list.size(); ++i)
        args[i] = in.eval(*constructor.list[i]);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptValue result;
    int status = factory(args.data(), args.count(), result);
    reportCallStatus(in, op, status, name);
    if (status != CallOk)
        return ScriptValue();
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

} // namespace vorpane::script
