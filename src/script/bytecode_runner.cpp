// The bytecode engine's dispatch loop. One register file serves every call: a call's window
// starts at the caller's argument registers, so arguments are in place as parameters and the
// value comes back in the first of them. A window is laid out as the walker's call record and the
// function's frame points at it while the call runs, so the walker evaluates what the compiler
// left to it on the same variables.

#include "platform/break_key.h"
#include "script/array_object.h"
#include "script/bytecode.h"
#include "script/interpreter_eval_inline.h"
#include "script/op_tree.h"
#include "script/step_budget.h"

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

// Whether an assignment stores the value without evaluating its target, as the walker does for
// numbers (and null) into a writable variable holding one.
inline bool storesInPlace(const ScriptValue& target, const ScriptValue& value)
{
    const auto numberOrNull
        = [](const ScriptValue& v) { return v.kind() <= ValueKind::Float && v.kind() != ValueKind::String; };
    return !target.isReadOnly() && numberOrNull(target) && numberOrNull(value.deref());
}

// An assignment's store that failed: reported on the assignment, not on its operator.
struct StoreFailed {
    int code;
};

[[gnu::noinline]] void putSlow(ScriptValue& out, ScriptValue&& value, bool variable)
{
    if (!variable) {
        out = std::move(value);
        return;
    }
    try {
        out.assign(value);
    } catch (const ScriptError& error) {
        throw StoreFailed { error.code() };
    }
}

// The walker's rules for numbers, with a Float on the left tried first: after the first turn of
// a loop its variables hold Floats (integer arithmetic gives Floats).
template <BinaryOp OP>
[[gnu::always_inline]] inline bool numberPair(
    const ScriptValue& left, const ScriptValue& right, ScriptValue& out)
{
    if constexpr (OP == BinaryOp::Add || OP == BinaryOp::Subtract || OP == BinaryOp::Multiply
        || OP >= BinaryOp::Equal) {
        if (left.kind() == ValueKind::Float) {
            const ValueKind rk = right.kind();
            if (rk != ValueKind::Float && rk != ValueKind::Integer)
                return false;
            const double a = left.floatValue();
            const double b = rk == ValueKind::Float ? right.floatValue() : double(right.integerValue());
            switch (OP) {
            case BinaryOp::Add:
                out.overwriteFloat(a + b);
                return true;
            case BinaryOp::Subtract:
                out.overwriteFloat(a - b);
                return true;
            case BinaryOp::Multiply:
                out.overwriteFloat(a * b);
                return true;
            case BinaryOp::Equal:
                out.overwriteInteger(int32_t(a == b));
                return true;
            case BinaryOp::NotEqual:
                out.overwriteInteger(int32_t(a != b));
                return true;
            case BinaryOp::Less:
                out.overwriteInteger(int32_t(a < b));
                return true;
            case BinaryOp::LessEqual:
                out.overwriteInteger(int32_t(a <= b));
                return true;
            case BinaryOp::GreaterEqual:
                out.overwriteInteger(int32_t(a >= b));
                return true;
            default:
                out.overwriteInteger(int32_t(a > b));
                return true;
            }
        }
    }
    return numericBinary<OP>(left, right, out);
}

// A Float with a Float or Integer into a writable Float, which keeps its header: the operators
// whose Float rules are plain arithmetic.
template <BinaryOp OP>
[[gnu::always_inline]] inline bool floatLane(
    const ScriptValue& left, const ScriptValue& right, ScriptValue& out)
{
    if constexpr (OP == BinaryOp::Add || OP == BinaryOp::Subtract || OP == BinaryOp::Multiply) {
        if (!out.isWritableFloat() || left.kind() != ValueKind::Float)
            return false;
        const ValueKind rk = right.kind();
        if (rk != ValueKind::Float && rk != ValueKind::Integer)
            return false;
        const double a = left.floatValue();
        const double b = rk == ValueKind::Float ? right.floatValue() : double(right.integerValue());
        out.overwriteFloatNumber(OP == BinaryOp::Add ? a + b : OP == BinaryOp::Subtract ? a - b : a * b);
        return true;
    }
    return false;
}

// A comparison of numbers decided in place, as the walker decides it: 1 or 0, or -1 when the
// general rules decide.
template <BinaryOp OP>
[[gnu::always_inline]] inline int compareNumbers(const ScriptValue& left, const ScriptValue& right)
{
    ScriptValue test;
    return numberPair<OP>(left, right, test) ? test.integerValue() : -1;
}

struct CallInfo {
    const BytecodeFunction* function;
    const Instruction* resume;
    Variable* base;
    Variable* outerParameters; // the callee's frame's pointers before the call
    Variable* outerLocals;
};

// The node an error of the instruction is reported on: an operator's, also when its result
// goes into a variable (the instruction then stands for the assignment).
const SyntaxNode* errorNode(const BytecodeFunction& function, const Instruction* pc)
{
    const size_t at = size_t(pc - function.code.data());
    const Op* op = function.ops[at];
    const Opcode code = pc->op;
    if (isOperator(code) && (pc->sub & kIntoVariable))
        op = op->child[1];
    return op ? op->node : nullptr;
}

} // namespace

int ScriptInterpreter::appendToText(ScriptValue& target, const ScriptValue& right)
{
    std::string* text = target.unsharedText();
    const ScriptValue& piece = right.deref();
    if (!text || piece.kind() == ValueKind::Object)
        return 0;
    std::string converted;
    std::string_view added;
    if (piece.kind() == ValueKind::String) {
        added = piece.stringValue();
        if (added.data() == text->data()) // «s = s + s»
            return 0;
    } else {
        piece.appendText(converted);
        added = converted;
    }
    const size_t length = text->size() + added.size();
    if (length > kMaxStringLength) // the general way reports it
        return 0;
    // As the general way: the concatenation spends the budget, then the target is evaluated.
    if (!spendSteps(length / kTextBytesPerStep))
        return -1;
    if (--m_stepsLeft == 0 && !stepsRanOut())
        return -1;
    target.appendToUnsharedText(added);
    return 1;
}

ScriptValue ScriptInterpreter::runBytecode(const BytecodeProgram& program)
{
    // Deep enough for the call limit: every window starts inside the one before it.
    std::vector<Variable> registers((size_t(kMaxCallDepth) + 2) * program.largestFrame + 1);
    std::vector<CallInfo> calls(size_t(kMaxCallDepth) + 2);
    CallInfo* callTop = calls.data(); // the innermost call's; the first stands for the top level

    const BytecodeFunction* function = &program.functions[0];
    const Instruction* pc = function->code.data();
    const ScriptValue* constants = function->constants.data();
    Variable* r = registers.data();
    ScriptValue result;

    // One jump per handler (computed goto), in the order of Opcode.
    static const void* const handlers[] = { &&nop, &&loadConstant, &&move, &&store, &&loadGlobal, &&evaluate,
        &&getElement, &&setElement, &&add, &&subtract, &&multiply, &&divide, &&remainder, &&equal, &&notEqual,
        &&less, &&lessEqual, &&greaterEqual, &&greater, &&binary, &&unary, &&step, &&jump, &&jumpIfFalse,
        &&jumpUnlessEqual, &&jumpUnlessNotEqual, &&jumpUnlessLess, &&jumpUnlessLessEqual,
        &&jumpUnlessGreaterEqual, &&jumpUnlessGreater, &&jumpIfForFalse, &&loopBack, &&loopIfEqual,
        &&loopIfNotEqual, &&loopIfLess, &&loopIfLessEqual, &&loopIfGreaterEqual, &&loopIfGreater, &&callCheck,
        &&call, &&returnValue, &&end };
    static_assert(std::size(handlers) == size_t(Opcode::End) + 1);

#define R(x) (r[x].value)
#define OP_HERE (*function->ops[size_t(pc - function->code.data())])
#define OPERAND(x) ((x)&kConstantOperand ? constants[(x) & ~kConstantOperand] : R(x))
    // The instruction's steps, then its handler. The break key is polled as the walker polls it.
#define DISPATCH()                                                                                           \
    do {                                                                                                     \
        if (m_stepsLeft > pc->steps) [[likely]]                                                              \
            m_stepsLeft -= pc->steps;                                                                        \
        else if (!spendStepsOneByOne(pc->steps))                                                             \
            goto finished;                                                                                   \
        goto* handlers[size_t(pc->op)];                                                                      \
    } while (0)
    // One more step, owed by a node the walker enters only on a slow path.
#define EXTRA_STEP()                                                                                         \
    do {                                                                                                     \
        if (--m_stepsLeft == 0 && !stepsRanOut())                                                            \
            goto finished;                                                                                   \
    } while (0)
    // An operator's result into R[a]; into a variable as assignment stores it. Numbers go
    // straight into a register that holds a writable number.
#define OPERATOR(OP, SLOW_START)                                                                             \
    {                                                                                                        \
        const ScriptValue& left = OPERAND(pc->b);                                                            \
        const ScriptValue& right = OPERAND(pc->c);                                                           \
        ScriptValue& out = R(pc->a);                                                                         \
        if (floatLane<OP>(left, right, out)) [[likely]] {                                                    \
            ++pc;                                                                                            \
            DISPATCH();                                                                                      \
        }                                                                                                    \
        if (!out.isWritableNumber() || !numberPair<OP>(left, right, out)) [[unlikely]] {                     \
            SLOW_START                                                                                       \
            ScriptValue value;                                                                               \
            if (!numericBinary<OP>(left, right, value))                                                      \
                value = binaryOperation(OP, left, right);                                                    \
            STORE_RESULT(out, value);                                                                        \
        }                                                                                                    \
        ++pc;                                                                                                \
        DISPATCH();                                                                                          \
    }
    // A comparison as a condition: test is whether it holds. The walker decides a comparison of
    // two names or literals holding numbers without entering its node.
#define COMPARISON(OP)                                                                                       \
    const ScriptValue& left = OPERAND(pc->b);                                                                \
    const ScriptValue& right = OPERAND(pc->c);                                                               \
    int test = compareNumbers<OP>(left, right);                                                              \
    if (test < 0) [[unlikely]] {                                                                             \
        if (pc->sub & kLeafOperands)                                                                         \
            EXTRA_STEP();                                                                                    \
        test = truthOf(binaryOperation(OP, left, right));                                                    \
    }
#define JUMP_UNLESS(OP)                                                                                      \
    {                                                                                                        \
        COMPARISON(OP)                                                                                       \
        pc += test ? 1 : pc->shortOffset();                                                                  \
        DISPATCH();                                                                                          \
    }
#define LOOP_IF(OP)                                                                                          \
    {                                                                                                        \
        COMPARISON(OP)                                                                                       \
        if (!test) {                                                                                         \
            ++pc;                                                                                            \
            DISPATCH();                                                                                      \
        }                                                                                                    \
        if (pending() && !enterInterrupted(OP_HERE.node))                                                    \
            goto finished;                                                                                   \
        pc += pc->shortOffset();                                                                             \
        DISPATCH();                                                                                          \
    }
#define STORE_RESULT(out, value)                                                                             \
    do {                                                                                                     \
        const bool variable = (pc->sub & kIntoVariable) != 0;                                                \
        if (variable && !storesInPlace(out, value))                                                          \
            EXTRA_STEP(); /* the walker evaluates the target then */                                         \
        putSlow(out, std::move(value), variable);                                                            \
    } while (0)

    try {
        DISPATCH();
    nop:
        ++pc;
        DISPATCH();
    loadConstant:
        R(pc->a) = constants[pc->b];
        ++pc;
        DISPATCH();
    move:
        if (pc->a != pc->b)
            R(pc->a) = R(pc->b);
        ++pc;
        DISPATCH();
    store:
        if (storesInPlace(R(pc->a), OPERAND(pc->b))) [[likely]] {
            R(pc->a) = OPERAND(pc->b);
            ++pc;
            DISPATCH();
        }
        EXTRA_STEP(); // the walker evaluates the target then
        if (pc->a != pc->b) {
            try {
                R(pc->a).assign(OPERAND(pc->b));
            } catch (const ScriptError& error) {
                throw StoreFailed { error.code() };
            }
        }
        ++pc;
        DISPATCH();
    loadGlobal : {
        ScriptValue* global = m_globalById[size_t(OP_HERE.name->nameId)];
        if (global && global->kind() != ValueKind::Reference) [[likely]] {
            if (pc->sub & kKeepReference)
                R(pc->a) = ScriptValue::reference(global);
            else
                R(pc->a) = *global;
            ++pc;
            DISPATCH();
        }
        // Not declared yet, or a reference: the walker's identifier reports or follows it.
    }
    evaluate : {
        const Op& op = OP_HERE;
        if (pc->sub & kValueUnused) {
            // A statement the walker runs whole, as its sequences do.
            if (op.exec && op.exec(*this, op)) {
                if (m_stopped)
                    goto finished;
                ++pc;
                DISPATCH();
            }
        } else if (!(pc->sub & kKeepReference) && op.compute && R(pc->a).isWritableNumber()
            && op.compute(*this, op, R(pc->a))) {
            // A number computed in place: an operator the walker fuses, an element.
            ++pc;
            DISPATCH();
        }
        if ((pc->sub & kReadAsOperand) && op.leaf == OpLeaf::Name && !pending()) {
            // Read as an operand: a plain value in place costs no step.
            if (ScriptValue* v = lookup(*op.name); v && v->kind() != ValueKind::Reference) {
                if (pc->sub & kKeepReference)
                    R(pc->a) = ScriptValue::reference(v);
                else
                    R(pc->a) = *v;
                ++pc;
                DISPATCH();
            }
        }
        {
            // Its own scope: a computed goto does not run destructors (a reference may hold
            // its array).
            ScriptValue value = eval(op);
            if (m_stopped)
                goto finished;
            if (pc->sub & kKeepReference)
                R(pc->a) = std::move(value);
            else
                R(pc->a) = materialize(std::move(value));
        }
        ++pc;
        DISPATCH();
    }
    getElement : {
        // As the walker's element of two leaves: its node and the leaves cost three steps.
        const ScriptValue& array = R(pc->b);
        const ScriptValue& index = OPERAND(pc->c);
        if (array.kind() == ValueKind::Object && array.objectValue()->isArray() && isNumberKind(index.kind())
            && m_stepsLeft > 3 && !pending()) [[likely]] {
            const ScriptValue* element
                = static_cast<ArrayObject*>(array.objectValue())->elementInPlace(index.toUnsigned());
            if (element && isNumberOrNull(*element)) [[likely]] {
                R(pc->a) = *element;
                m_stepsLeft -= 3;
                ++pc;
                DISPATCH();
            }
        }
        goto evaluate;
    }
    setElement : {
        // As the walker's store of a leaf into an element of two: the assignment, the element's
        // node and its leaves cost four steps.
        const ScriptValue& value = OPERAND(pc->a);
        const ScriptValue& array = R(pc->b);
        const ScriptValue& index = OPERAND(pc->c);
        if (array.kind() == ValueKind::Object && array.objectValue()->isArray() && isNumberKind(index.kind())
            && isNumberOrNull(value) && m_stepsLeft > 4 && !pending()) [[likely]] {
            ScriptValue* element
                = static_cast<ArrayObject*>(array.objectValue())->numberElementToStore(index.toUnsigned());
            if (element) [[likely]] {
                *element = value;
                m_stepsLeft -= 4;
                ++pc;
                DISPATCH();
            }
        }
        // The walker's statement, its value unused.
        const Op& op = OP_HERE;
        if (!op.exec(*this, op)) {
            // Its own scope: a computed goto does not run destructors.
            const ScriptValue unused = eval(op);
        }
        if (m_stopped)
            goto finished;
        ++pc;
        DISPATCH();
    }
    add:
        // «s = s + piece» grows the text in place (a text is never a writable number).
        OPERATOR(
            BinaryOp::Add,
            if (out.kind() == ValueKind::String && pc->b == pc->a && (pc->sub & kIntoVariable)) {
                const int appended = appendToText(out, right);
                if (appended < 0)
                    goto finished;
                if (appended > 0) {
                    ++pc;
                    DISPATCH();
                }
            })
    subtract:
        OPERATOR(BinaryOp::Subtract, )
    multiply:
        OPERATOR(BinaryOp::Multiply, )
    divide:
        OPERATOR(BinaryOp::Divide, )
    remainder:
        OPERATOR(BinaryOp::Remainder, )
    equal:
        OPERATOR(BinaryOp::Equal, )
    notEqual:
        OPERATOR(BinaryOp::NotEqual, )
    less:
        OPERATOR(BinaryOp::Less, )
    lessEqual:
        OPERATOR(BinaryOp::LessEqual, )
    greaterEqual:
        OPERATOR(BinaryOp::GreaterEqual, )
    greater:
        OPERATOR(BinaryOp::Greater, )
    binary : {
        const auto op = BinaryOp(pc->sub & ~kIntoVariable);
        const ScriptValue& left = OPERAND(pc->b);
        const ScriptValue& right = OPERAND(pc->c);
        ScriptValue& out = R(pc->a);
        {
            ScriptValue value = binaryOperation(op, left, right);
            STORE_RESULT(out, value);
        }
        ++pc;
        DISPATCH();
    }
    unary:
        R(pc->a) = unaryOperation(UnaryOp(pc->sub), R(pc->b));
        ++pc;
        DISPATCH();
    step : {
        ScriptValue& target = R(pc->b);
        if (target.kind() != ValueKind::Integer || target.isReadOnly())
            EXTRA_STEP(); // the walker evaluates the operand then
        {
            ScriptValue before;
            if (pc->sub & 2)
                before = target;
            if (pc->sub & 1)
                incrementValue(target);
            else
                decrementValue(target);
            R(pc->a) = (pc->sub & 2) ? before : target;
        }
        ++pc;
        DISPATCH();
    }
    jump:
        pc = pc + pc->offset();
        DISPATCH();
    jumpIfFalse:
        pc = truthOf(R(pc->a)) ? pc + 1 : pc + pc->offset();
        DISPATCH();
    jumpUnlessEqual:
        JUMP_UNLESS(BinaryOp::Equal)
    jumpUnlessNotEqual:
        JUMP_UNLESS(BinaryOp::NotEqual)
    jumpUnlessLess:
        JUMP_UNLESS(BinaryOp::Less)
    jumpUnlessLessEqual:
        JUMP_UNLESS(BinaryOp::LessEqual)
    jumpUnlessGreaterEqual:
        JUMP_UNLESS(BinaryOp::GreaterEqual)
    jumpUnlessGreater:
        JUMP_UNLESS(BinaryOp::Greater)
    jumpIfForFalse:
        pc = forConditionOf(R(pc->a)) ? pc + 1 : pc + pc->offset();
        DISPATCH();
    loopBack:
        if (pending() && !enterInterrupted(OP_HERE.node))
            goto finished;
        pc = pc + pc->offset();
        DISPATCH();
    loopIfEqual:
        LOOP_IF(BinaryOp::Equal)
    loopIfNotEqual:
        LOOP_IF(BinaryOp::NotEqual)
    loopIfLess:
        LOOP_IF(BinaryOp::Less)
    loopIfLessEqual:
        LOOP_IF(BinaryOp::LessEqual)
    loopIfGreaterEqual:
        LOOP_IF(BinaryOp::GreaterEqual)
    loopIfGreater:
        LOOP_IF(BinaryOp::Greater)
    callCheck:
        if (pending() && !enterInterrupted(OP_HERE.node))
            goto finished;
        if (m_callDepth >= kMaxCallDepth) {
            reportError(OP_HERE.node, "Stack Overflow");
            goto finished;
        }
        ++pc;
        DISPATCH();
    call : {
        if (pending() && !enterInterrupted(OP_HERE.node))
            goto finished;
        if (m_callDepth >= kMaxCallDepth) {
            reportError(OP_HERE.node, "Stack Overflow");
            goto finished;
        }
        ++m_callDepth;
        const BytecodeFunction* callee = &program.functions[pc->b];
        Variable* window = r + pc->a;
        ++callTop;
        callTop->function = function;
        callTop->resume = pc + 1;
        callTop->base = r;
        if (callee->pointsFrame) {
            FunctionFrame& frame = *callee->frame;
            callTop->outerParameters = frame.parameters;
            callTop->outerLocals = frame.locals;
            frame.parameters = window;
            frame.locals = window + callee->parameterCount;
        }
        for (size_t i = callee->parameterCount, end = callee->recordSize; i < end; ++i)
            window[i].clear();
        r = window;
        function = callee;
        pc = function->code.data();
        constants = function->constants.data();
        DISPATCH();
    }
    returnValue : {
        if (pc->a != 0)
            R(0) = R(pc->a);
        // The call's variables go as the walker's record does: what they hold is released now.
        // Numbers hold nothing; the next call clears its own variables.
        {
            constexpr uint32_t kOwning = 1u << int(ValueKind::String) | 1u << int(ValueKind::Reference)
                | 1u << int(ValueKind::Object);
            uint32_t kinds = 0;
            for (size_t i = 1, end = function->recordSize; i < end; ++i)
                kinds |= 1u << int(r[i].value.kind());
            if (kinds & kOwning) [[unlikely]]
                for (size_t i = 1, end = function->recordSize; i < end; ++i)
                    r[i].clear();
        }
        const CallInfo& caller = *callTop--;
        if (function->pointsFrame) {
            function->frame->parameters = caller.outerParameters;
            function->frame->locals = caller.outerLocals;
        }
        function = caller.function;
        pc = caller.resume;
        constants = function->constants.data();
        r = caller.base;
        --m_callDepth;
        DISPATCH();
    }
    end:
        result = R(pc->a);
    } catch (const ScriptError& error) {
        // Reported on the line of the operation that raised it, as the walker does.
        valueError(errorNode(*function, pc), error.code());
    } catch (const StoreFailed& failure) {
        valueError(OP_HERE.node, failure.code);
    }
finished:
#undef OPERATOR
#undef COMPARISON
#undef JUMP_UNLESS
#undef LOOP_IF
#undef STORE_RESULT
#undef EXTRA_STEP
#undef DISPATCH
#undef OPERAND
#undef OP_HERE
#undef R
    return result;
}

} // namespace vorpane::script
