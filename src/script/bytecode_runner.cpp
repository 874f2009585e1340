// The bytecode engine's dispatch loop. One register file serves every call: a call's window
// starts at the caller's argument registers, so arguments are in place as parameters and the
// value comes back in the first of them.

#include "platform/break_key.h"
#include "script/bytecode.h"
#include "script/interpreter.h"

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
#define NODE_HERE (function->nodes[size_t(pc - code)])

    try {
        for (;;) {
            const Instruction& in = *pc;
            // One step per instruction: the break key is polled as the walker polls it.
            if (--m_stepsLeft == 0) [[unlikely]] {
                if (!stepsRanOut())
                    break;
            }
            switch (in.op) {
            case Opcode::LoadConstant:
                r[in.a] = constants[in.b];
                ++pc;
                continue;
            case Opcode::Move:
                if (in.a != in.b)
                    r[in.a] = r[in.b];
                ++pc;
                continue;
            case Opcode::Binary: {
                const ScriptValue& left
                    = in.b & kConstantOperand ? constants[in.b & ~kConstantOperand] : r[in.b];
                const ScriptValue& right
                    = in.c & kConstantOperand ? constants[in.c & ~kConstantOperand] : r[in.c];
                const auto op = BinaryOp(in.sub);
                int32_t test = 0;
                if (!numbers(op, left, right, &r[in.a], test))
                    r[in.a] = binaryOperation(op, left, right);
                else if (isComparison(op))
                    r[in.a] = ScriptValue(test);
                ++pc;
                continue;
            }
            case Opcode::Unary:
                r[in.a] = unaryOperation(UnaryOp(in.sub), r[in.b]);
                ++pc;
                continue;
            case Opcode::Step: {
                ScriptValue& target = r[in.b];
                ScriptValue before;
                if (in.sub & 2)
                    before = target;
                if (in.sub & 1)
                    incrementValue(target);
                else
                    decrementValue(target);
                r[in.a] = (in.sub & 2) ? before : target;
                ++pc;
                continue;
            }
            case Opcode::Jump:
                pc = code + in.target();
                continue;
            case Opcode::JumpIfFalse:
                pc = truthOf(r[in.a]) ? pc + 1 : code + in.target();
                continue;
            case Opcode::CompareJump: {
                const ScriptValue& left
                    = in.b & kConstantOperand ? constants[in.b & ~kConstantOperand] : r[in.b];
                const ScriptValue& right
                    = in.c & kConstantOperand ? constants[in.c & ~kConstantOperand] : r[in.c];
                int32_t test = 0;
                ScriptValue unused; // a comparison writes only test
                if (!numbers(BinaryOp(in.sub), left, right, &unused, test))
                    test = truthOf(binaryOperation(BinaryOp(in.sub), left, right));
                pc = test ? pc + 1 : code + in.a;
                continue;
            }
            case Opcode::JumpIfForFalse:
                pc = forConditionOf(r[in.a]) ? pc + 1 : code + in.target();
                continue;
            case Opcode::LoopBack:
                if (pending() && !enterInterrupted(NODE_HERE))
                    break;
                pc = code + in.target();
                continue;
            case Opcode::Call: {
                if (pending() && !enterInterrupted(NODE_HERE))
                    break;
                if (m_callDepth >= kMaxCallDepth) {
                    reportError(NODE_HERE, "Stack Overflow");
                    break;
                }
                ++m_callDepth;
                calls.push_back({ function, pc + 1, r });
                r += in.a;
                function = &program.functions[in.b];
                code = function->code.data();
                pc = code;
                constants = function->constants.data();
                for (size_t i = function->parameterCount, end = i + function->localCount; i < end; ++i)
                    r[i].reset();
                continue;
            }
            case Opcode::Return: {
                if (in.a != 0)
                    r[0] = r[in.a];
                const CallInfo& caller = calls.back();
                function = caller.function;
                code = function->code.data();
                pc = caller.resume;
                constants = function->constants.data();
                r = caller.base;
                calls.pop_back();
                --m_callDepth;
                continue;
            }
            case Opcode::End:
                result = r[in.a];
                break;
            }
            break;
        }
    } catch (const ScriptError& error) {
        // Reported on the line of the operation that raised it, as the walker does.
        valueError(NODE_HERE, error.code());
    }
#undef NODE_HERE
    return result;
}

} // namespace vorpane::script
