// The bytecode engine's dispatch loop. One register file serves every call: a call's window
// starts at the caller's argument registers, so arguments are in place as parameters and the
// value comes back in the first of them.

#include "platform/break_key.h"
#include "script/bytecode.h"
#include "script/interpreter.h"

#include <iterator>
#include <vector>

namespace vorpane::script {

namespace {

// As "if" and "while" test a condition.
inline bool truthOf(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    return v.kind() == ValueKind::Integer ? v.integerValue() != 0 : v.toInteger() != 0;
}

// As "for" tests its condition: compared with Integer 0 by "!=".
inline bool forConditionOf(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    if (v.kind() == ValueKind::Integer)
        return v.integerValue() != 0;
    return binaryOperation(BinaryOp::NotEqual, value, ScriptValue(0)).toInteger() != 0;
}

template <typename T> int32_t compared(BinaryOp op, T l, T r)
{
    switch (op) {
    case BinaryOp::Equal:
        return l == r;
    case BinaryOp::NotEqual:
        return l != r;
    case BinaryOp::Less:
        return l < r;
    case BinaryOp::LessEqual:
        return l <= r;
    case BinaryOp::GreaterEqual:
        return l >= r;
    default:
        return l > r;
    }
}

inline void setFloat(ScriptValue& out, double value)
{
    if (out.isWritableNumber()) [[likely]]
        out.overwriteFloat(value);
    else
        out = ScriptValue(value);
}

// The operators' rules for the usual pairs of numbers, done inline: a Float on the left with a
// number on the right, or two Integers. False for anything else (and for "/", "%" of integers),
// which binaryOperation handles. A comparison gives its 0 or 1 in test.
[[gnu::always_inline]] inline bool numbers(
    BinaryOp op, const ScriptValue& left, const ScriptValue& right, ScriptValue* out, int32_t& test)
{
    const ValueKind lk = left.kind(), rk = right.kind();
    if (lk == ValueKind::Float && (rk == ValueKind::Float || rk == ValueKind::Integer)) {
        const double l = left.floatValue();
        const double r = rk == ValueKind::Float ? right.floatValue() : double(right.integerValue());
        switch (op) {
        case BinaryOp::Add:
            setFloat(*out, l + r);
            return true;
        case BinaryOp::Subtract:
            setFloat(*out, l - r);
            return true;
        case BinaryOp::Multiply:
            setFloat(*out, l * r);
            return true;
        case BinaryOp::Divide:
            if (r == 0.0)
                return false;
            setFloat(*out, l / r);
            return true;
        case BinaryOp::Remainder:
            return false;
        default:
            test = compared(op, l, r);
            return true;
        }
    }
    if (lk == ValueKind::Integer && rk == ValueKind::Integer) {
        const int32_t l = left.integerValue(), r = right.integerValue();
        const auto ul = uint32_t(l), ur = uint32_t(r);
        switch (op) {
        case BinaryOp::Add:
            setFloat(*out, double(int32_t(ul + ur)));
            return true;
        case BinaryOp::Subtract:
            setFloat(*out, double(int32_t(ul - ur)));
            return true;
        case BinaryOp::Multiply:
            setFloat(*out, double(int32_t(ul * ur)));
            return true;
        case BinaryOp::Divide:
        case BinaryOp::Remainder:
            return false;
        default:
            test = compared(op, l, r);
            return true;
        }
    }
    return false;
}

inline bool isComparison(BinaryOp op) { return op >= BinaryOp::Equal; }

struct CallInfo {
    const BytecodeFunction* function;
    const Instruction* resume;
    ScriptValue* base;
};

} // namespace

ScriptValue ScriptInterpreter::runBytecode(const BytecodeProgram& program)
{
    // Deep enough for the call limit: every window starts inside the one before it.
    std::vector<ScriptValue> registers((size_t(kMaxCallDepth) + 2) * program.largestFrame + 1);
    std::vector<CallInfo> calls;
    calls.reserve(size_t(kMaxCallDepth) + 1);

    const BytecodeFunction* function = &program.functions[0];
    const Instruction* code = function->code.data();
    const Instruction* pc = code;
    const ScriptValue* constants = function->constants.data();
    ScriptValue* r = registers.data();
    ScriptValue result;

    // One jump per handler (computed goto), in the order of Opcode.
    static const void* const handlers[] = { &&loadConstant, &&move, &&binary, &&add, &&subtract, &&multiply,
        &&unary, &&step, &&jump, &&jumpIfFalse, &&compareJump, &&jumpIfForFalse, &&loopBack, &&loopIfCompare,
        &&call, &&returnValue, &&end };
    static_assert(std::size(handlers) == size_t(Opcode::End) + 1);

#define NODE_HERE (function->nodes[size_t(pc - code)])
#define OPERAND(x) ((x)&kConstantOperand ? constants[(x) & ~kConstantOperand] : r[x])
    // One step per instruction: the break key is polled as the walker polls it.
#define DISPATCH()                                                                                           \
    do {                                                                                                     \
        if (--m_stepsLeft == 0) [[unlikely]] {                                                               \
            if (!stepsRanOut())                                                                              \
                goto finished;                                                                               \
        }                                                                                                    \
        goto* handlers[size_t(pc->op)];                                                                      \
    } while (0)
#define ARITHMETIC(OP)                                                                                       \
    {                                                                                                        \
        const ScriptValue& left = OPERAND(pc->b);                                                            \
        const ScriptValue& right = OPERAND(pc->c);                                                           \
        int32_t unusedTest;                                                                                  \
        if (!numbers(OP, left, right, &r[pc->a], unusedTest))                                                \
            r[pc->a] = binaryOperation(OP, left, right);                                                     \
        ++pc;                                                                                                \
        DISPATCH();                                                                                          \
    }

    try {
        DISPATCH();
    loadConstant:
        r[pc->a] = constants[pc->b];
        ++pc;
        DISPATCH();
    move:
        if (pc->a != pc->b)
            r[pc->a] = r[pc->b];
        ++pc;
        DISPATCH();
    binary : {
        const auto op = BinaryOp(pc->sub);
        const ScriptValue& left = OPERAND(pc->b);
        const ScriptValue& right = OPERAND(pc->c);
        int32_t test = 0;
        if (!numbers(op, left, right, &r[pc->a], test))
            r[pc->a] = binaryOperation(op, left, right);
        else if (isComparison(op))
            r[pc->a] = ScriptValue(test);
        ++pc;
        DISPATCH();
    }
    add:
        ARITHMETIC(BinaryOp::Add)
    subtract:
        ARITHMETIC(BinaryOp::Subtract)
    multiply:
        ARITHMETIC(BinaryOp::Multiply)
    unary:
        r[pc->a] = unaryOperation(UnaryOp(pc->sub), r[pc->b]);
        ++pc;
        DISPATCH();
    step : {
        ScriptValue& target = r[pc->b];
        ScriptValue before;
        if (pc->sub & 2)
            before = target;
        if (pc->sub & 1)
            incrementValue(target);
        else
            decrementValue(target);
        r[pc->a] = (pc->sub & 2) ? before : target;
        ++pc;
        DISPATCH();
    }
    jump:
        pc = code + pc->target();
        DISPATCH();
    jumpIfFalse:
        pc = truthOf(r[pc->a]) ? pc + 1 : code + pc->target();
        DISPATCH();
    compareJump : {
        const ScriptValue& left = OPERAND(pc->b);
        const ScriptValue& right = OPERAND(pc->c);
        int32_t test = 0;
        ScriptValue unused; // a comparison writes only test
        if (!numbers(BinaryOp(pc->sub), left, right, &unused, test))
            test = truthOf(binaryOperation(BinaryOp(pc->sub), left, right));
        pc = test ? pc + 1 : code + pc->a;
        DISPATCH();
    }
    jumpIfForFalse:
        pc = forConditionOf(r[pc->a]) ? pc + 1 : code + pc->target();
        DISPATCH();
    loopBack:
        if (pending() && !enterInterrupted(NODE_HERE))
            goto finished;
        pc = code + pc->target();
        DISPATCH();
    loopIfCompare : {
        const ScriptValue& left = OPERAND(pc->b);
        const ScriptValue& right = OPERAND(pc->c);
        int32_t test = 0;
        ScriptValue unused; // a comparison writes only test
        if (!numbers(BinaryOp(pc->sub), left, right, &unused, test))
            test = truthOf(binaryOperation(BinaryOp(pc->sub), left, right));
        if (!test) {
            ++pc;
            DISPATCH();
        }
        if (pending() && !enterInterrupted(NODE_HERE))
            goto finished;
        pc = code + pc->a;
        DISPATCH();
    }
    call : {
        if (pending() && !enterInterrupted(NODE_HERE))
            goto finished;
        if (m_callDepth >= kMaxCallDepth) {
            reportError(NODE_HERE, "Stack Overflow");
            goto finished;
        }
        ++m_callDepth;
        calls.push_back({ function, pc + 1, r });
        r += pc->a;
        function = &program.functions[pc->b];
        code = function->code.data();
        pc = code;
        constants = function->constants.data();
        for (size_t i = function->parameterCount, end = i + function->localCount; i < end; ++i)
            r[i].reset();
        DISPATCH();
    }
    returnValue : {
        if (pc->a != 0)
            r[0] = r[pc->a];
        const CallInfo& caller = calls.back();
        function = caller.function;
        code = function->code.data();
        pc = caller.resume;
        constants = function->constants.data();
        r = caller.base;
        calls.pop_back();
        --m_callDepth;
        DISPATCH();
    }
    end:
        result = r[pc->a];
    } catch (const ScriptError& error) {
        // Reported on the line of the operation that raised it, as the walker does.
        valueError(NODE_HERE, error.code());
    }
finished:
#undef ARITHMETIC
#undef DISPATCH
#undef OPERAND
#undef NODE_HERE
    return result;
}

} // namespace vorpane::script
