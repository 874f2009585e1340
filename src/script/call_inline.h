#pragma once
// Calls of user functions, inline wherever a handler makes one: a call is the costliest thing a
// script does often, and a handler that runs it whole saves one frame of the machine stack per
// call on the way down. Internal to the interpreter.

#include "script/op_tree.h"

#include <algorithm>
#include <bit>

namespace vorpane::script {

[[gnu::always_inline]] inline ScriptValue OpHandlers::callInline(ScriptInterpreter& in, const Op& op)
try {
    in.checkStack();
    if (in.m_callDepth >= kMaxCallDepth) {
        in.reportError(op.node, "Stack Overflow");
        return ScriptValue();
    }
    ++in.m_callDepth;
    ScriptValue value = op.function ? callUserFunction(in, op, *op.function) : callLibraryFunction(in, op);
    --in.m_callDepth;
    if (in.m_flags.returnCount)
        in.countDown(in.m_flags.returnCount);
    return value;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

[[gnu::always_inline]] inline ScriptValue OpHandlers::callUserFunction(
    ScriptInterpreter& in, const Op& op, FunctionFrame& function)
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

} // namespace vorpane::script
