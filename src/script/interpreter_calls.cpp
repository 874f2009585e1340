// Calls: user functions, the library functions alert, confirm and prompt, member functions of
// objects and "new".

#include "platform/ui_services.h"
#include "script/call_inline.h"
#include "script/error_line.h"
#include "script/member_name.h"
#include "script/script_object.h"

#include <algorithm>
#include <bit>
#include <new>

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

ScriptValue OpHandlers::call(ScriptInterpreter& in, const Op& op) { return callInline(in, op); }

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

ScriptValue OpHandlers::callLibraryFunction(ScriptInterpreter& in, const Op& op)
{
    const std::string& name = nameOf(*op.child[0]);
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
    t_memberCallLine = op.node ? op.node->line : 0;
    int status = hold.objectValue()->callMember(name, args.data(), args.count(), result);
    reportCallStatus(in, op, status, name);
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
} catch (const std::bad_alloc&) {
    // A host object that runs out of memory is reported on the line of its call.
    return failed(in, op, ScriptError(ErrOutOfMemory));
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
} catch (const std::bad_alloc&) {
    return failed(in, op, ScriptError(ErrOutOfMemory));
}

} // namespace vorpane::script
