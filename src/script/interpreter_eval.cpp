// The handlers of statements, operators and names. Calls are in interpreter_calls.cpp.
// Each handler that can raise catches its own codes, so the message carries its node's line.
// Numbers take inline paths; everything else goes through the value operators.

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "script/call_inline.h"
#include "script/script_object.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorpane::script {

namespace {

template <BinaryOp OP, typename T> inline int compareNumbers(T a, T b)
{
    switch (OP) {
    case BinaryOp::Equal:
        return a == b;
    case BinaryOp::NotEqual:
        return a != b;
    case BinaryOp::Less:
        return a < b;
    case BinaryOp::LessEqual:
        return a <= b;
    case BinaryOp::GreaterEqual:
        return a >= b;
    default:
        return a > b;
    }
}

// Conditions of "if", "while" and "?:".
inline bool truth(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    return v.kind() == ValueKind::Integer ? v.integerValue() != 0 : v.toInteger() != 0;
}

// The condition of "for" is compared with Integer 0 by "!=".
inline bool forCondition(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    if (v.kind() == ValueKind::Integer)
        return v.integerValue() != 0;
    return binaryOperation(BinaryOp::NotEqual, value, ScriptValue(0)).toInteger() != 0;
}

inline int32_t wrapped(uint32_t bits) { return int32_t(bits); }

bool isNumberKind(ValueKind kind)
{
    return kind == ValueKind::Integer || kind == ValueKind::Float || kind == ValueKind::Unsigned;
}

bool isNumberOrNull(const ScriptValue& v)
{
    return v.kind() <= ValueKind::Float && v.kind() != ValueKind::String;
}

// fmod, with positive whole numbers below 2^53 done in integers, where the remainder is exact
// (negative ones are left to fmod for the sign of a zero result).
inline double floatRemainder(double a, double b)
{
    constexpr double kExact = 9007199254740992.0; // 2^53
    if (a > 0.0 && b > 0.0 && a < kExact && b < kExact) {
        auto ia = int64_t(a), ib = int64_t(b);
        if (double(ia) == a && double(ib) == b) {
            // A 32-bit division where both fit takes a fraction of the time of a 64-bit one.
            if (uint64_t(ia | ib) <= UINT32_MAX)
                return double(uint32_t(ia) % uint32_t(ib));
            return double(ia % ib);
        }
    }
    return std::fmod(a, b);
}

template <BinaryOp OP> inline bool numericBinary(const ScriptValue& l, const ScriptValue& r, ScriptValue& out)
{
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Integer) {
        int32_t a = l.integerValue(), b = r.integerValue();
        switch (OP) {
        case BinaryOp::Add:
            out.overwriteFloat(double(wrapped(uint32_t(a) + uint32_t(b))));
            return true;
        case BinaryOp::Subtract:
            out.overwriteFloat(double(wrapped(uint32_t(a) - uint32_t(b))));
            return true;
        case BinaryOp::Multiply:
            out.overwriteFloat(double(wrapped(uint32_t(a) * uint32_t(b))));
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
        case BinaryOp::Greater:
            out.overwriteInteger(int32_t(a > b));
            return true;
        case BinaryOp::Remainder:
            if (b <= 0)
                return false;
            out.overwriteInteger(a % b);
            return true;
        case BinaryOp::Divide:
            // Integer division; -1 wraps, 0 is left to the general rules' message.
            if (b == 0)
                return false;
            out.overwriteFloat(double(b == -1 ? wrapped(0u - uint32_t(a)) : a / b));
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Float && (r.kind() == ValueKind::Float || r.kind() == ValueKind::Integer)) {
        double a = l.floatValue();
        double b = r.kind() == ValueKind::Float ? r.floatValue() : double(r.integerValue());
        switch (OP) {
        case BinaryOp::Divide:
            if (b == 0.0)
                return false;
            out.overwriteFloat(a / b);
            return true;
        case BinaryOp::Remainder:
            if (b == 0.0)
                return false;
            out.overwriteFloat(floatRemainder(a, b));
            return true;
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
        case BinaryOp::Greater:
            out.overwriteInteger(int32_t(a > b));
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Float) {
        // Only arithmetic: comparisons of an Integer convert the right side to integer.
        double a = l.integerValue(), b = r.floatValue();
        switch (OP) {
        case BinaryOp::Divide:
            if (b == 0.0)
                return false;
            out.overwriteFloat(a / b);
            return true;
        case BinaryOp::Add:
            out.overwriteFloat(a + b);
            return true;
        case BinaryOp::Subtract:
            out.overwriteFloat(a - b);
            return true;
        case BinaryOp::Multiply:
            out.overwriteFloat(a * b);
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

// A comparison of two numbers in names or literals, decided without making its value; -1 when
// it has to be evaluated the general way. One instance per operator, chosen when the Ops are built.
template <BinaryOp OP>
[[gnu::always_inline]] inline int OpHandlers::compareLeaves(ScriptInterpreter& in, const Op& condition)
{
    if (in.pending())
        return -1;
    const ScriptValue* right;
    const ScriptValue* left;
    if (condition.placed) [[likely]] {
        right = valueAt(condition.place[2]);
        left = valueAt(condition.place[1]);
    } else {
        right = in.peek(*condition.child[1]);
        left = right ? in.peek(*condition.child[0]) : nullptr;
    }
    if (!left || !right)
        return -1;
    ValueKind lk = left->kind(), rk = right->kind();
    if (lk == ValueKind::Integer && rk == ValueKind::Integer)
        return compareNumbers<OP>(left->integerValue(), right->integerValue());
    // A Float on the left compares with the right side as a float.
    if (lk == ValueKind::Float && rk == ValueKind::Float)
        return compareNumbers<OP>(left->floatValue(), right->floatValue());
    if (lk == ValueKind::Float && rk == ValueKind::Integer)
        return compareNumbers<OP>(left->floatValue(), double(right->integerValue()));
    return -1;
}

[[gnu::always_inline]] inline bool OpHandlers::quickComparison(
    ScriptInterpreter& in, const Op& condition, bool& result)
{
    if (!condition.quickTest)
        return false;
    int decided = condition.quickTest(in, condition);
    result = decided > 0;
    return decided >= 0;
}

// --- Entry checks and reports -----------------------------------------------------------------

// The abort flag, the break key and the counts of break, continue and return, in this order.
bool ScriptInterpreter::enterInterrupted(const SyntaxNode* node)
{
    if (m_flags.abort)
        return false;
    if (breakKeyPending() && breakRequested(node))
        return false;
    return node && !stopped();
}

bool ScriptInterpreter::stepsRanOut()
{
    if (m_stepsBeyond == 0) {
        m_stepsLeft = 1;
        stop();
        return false;
    }
    refillSteps();
    pollBreakKey();
    return true;
}

void ScriptInterpreter::refillSteps()
{
    m_stepsLeft = std::min(m_stepsBeyond, kBreakKeyPollSteps);
    m_stepsBeyond -= m_stepsLeft;
}

bool ScriptInterpreter::breakRequested(const SyntaxNode* node)
{
    if (!takeBreakKey())
        return false;
    std::string question;
    if (node) {
        char text[64];
        std::snprintf(
            text, sizeof text, "Break detected at line %d\nStop script execuction?", int(node->line));
        question = text;
    } else {
        question = "Break detected\nStop script execution?";
    }
    if (ui().messageBox(question, "Break", MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return false;
    stop();
    return true;
}

void ScriptInterpreter::valueError(const SyntaxNode* node, int code)
{
    // An operator that fails on the zeros an earlier error left behind adds no second message.
    if (m_flags.abort)
        return;
    if (const char* message = errorMessage(code)) {
        reportError(node, message);
        return;
    }
    char text[48];
    std::snprintf(text, sizeof text, "Internal Parser Error: 0x%X", unsigned(code));
    reportError(node, text);
}

ScriptValue OpHandlers::failed(ScriptInterpreter& in, const Op& op, const ScriptError& error)
{
    in.valueError(op.node, error.code());
    return ScriptValue();
}

// --- Leaves -----------------------------------------------------------------------------------

ScriptValue OpHandlers::constant(ScriptInterpreter&, const Op& op) { return op.constant; }

ScriptValue OpHandlers::scratch(ScriptInterpreter& in)
{
    in.m_scratch = ScriptValue();
    return ScriptValue::reference(&in.m_scratch);
}

ScriptValue OpHandlers::identifier(ScriptInterpreter& in, const Op& op)
{
    if (ScriptValue* v = in.lookup(*op.name))
        return ScriptValue::reference(v);
    in.reportError(op.node, "Variable \"" + op.node->text + "\" not found");
    return scratch(in);
}

ScriptValue OpHandlers::guarded(ScriptInterpreter& in, const Op& op)
{
    in.checkStack();
    return op.guardedRun(in, op);
}

ScriptValue OpHandlers::unexpected(ScriptInterpreter& in, const Op& op)
{
    in.reportError(op.node, "Unexpected node type in parse tree");
    return ScriptValue();
}

// --- Statements -------------------------------------------------------------------------------

ScriptValue OpHandlers::sequence(ScriptInterpreter& in, const Op& op) { return runSequence(in, op); }

ScriptValue OpHandlers::varList(ScriptInterpreter& in, const Op& op)
{
    for (const Op* declarator : op.list) {
        const SyntaxNode* node = declarator->node;
        if (!node || node->kind != NodeKind::Declarator || !declarator->child[0]->name) [[unlikely]] {
            in.reportError(node ? node : op.node, "Unexpected node type in parse tree");
            break;
        }
        const NameSlot& slot = *declarator->child[0]->name;
        ScriptValue initial;
        if (declarator->child[1]->node) {
            ScriptValue temp;
            initial = in.read(*declarator->child[1], temp).deref();
        }
        if (in.m_flags.abort || !in.declare(slot, std::move(initial), node))
            break;
    }
    return ScriptValue();
}

// A declaration of locals without initial values: each only has to be marked declared, since a
// fresh local holds Integer 0 already.
ScriptValue OpHandlers::declareLocals(ScriptInterpreter& in, const Op& op)
{
    for (const Op* declarator : op.list) {
        const NameSlot& slot = *declarator->child[0]->name;
        Variable& v = slot.frame->locals[slot.index];
        if (v.nameId >= 0) [[unlikely]] {
            in.reportDeclaredTwice(declarator->node, slot.nameId);
            break;
        }
        v.nameId = slot.nameId;
    }
    return ScriptValue();
}

bool OpHandlers::declaresLocalsOnly(const Op& op)
{
    for (const Op* declarator : op.list) {
        if (!declarator->node || declarator->node->kind != NodeKind::Declarator || declarator->child[1]->node)
            return false;
        const NameSlot* slot = declarator->child[0]->name;
        if (!slot || (slot->place != NamePlace::Local && slot->place != NamePlace::LeadingLocal))
            return false;
    }
    return true;
}

// A condition's truth. Its own value errors are reported for owner; the branch taken next is
// then skipped by the stop. Kept apart so that the branch runs in the handler's tail call.
bool OpHandlers::test(ScriptInterpreter& in, const Op& owner, const Op& condition)
{
    try {
        ScriptValue temp;
        return truth(in.read(condition, temp));
    } catch (const ScriptError& error) {
        in.valueError(owner.node, error.code());
        return false;
    }
}

// A comparison of leaves is decided inline; anything else goes through test().
[[gnu::always_inline]] static inline bool holds(ScriptInterpreter& in, const Op& owner, const Op& condition)
{
    bool quick;
    if (OpHandlers::quickComparison(in, condition, quick))
        return quick;
    if (condition.compute) {
        ScriptValue value;
        if (condition.compute(in, condition, value))
            return truth(value);
    }
    return OpHandlers::test(in, owner, condition);
}

ScriptValue OpHandlers::ifElse(ScriptInterpreter& in, const Op& op)
{
    const Op& branch = *op.child[holds(in, op, *op.child[0]) ? 1 : 2];
    if (!branch.node) // no "else": nothing to evaluate
        return ScriptValue();
    return in.eval(branch);
}

// An "if" whose condition compares two leaves: the comparison is made here rather than through
// the condition's quick test.
template <BinaryOp OP> ScriptValue OpHandlers::ifCompare(ScriptInterpreter& in, const Op& op)
{
    const Op& condition = *op.child[0];
    int decided = compareLeaves<OP>(in, condition);
    const Op& branch = *op.child[(decided >= 0 ? decided > 0 : test(in, op, condition)) ? 1 : 2];
    if (!branch.node)
        return ScriptValue();
    // «if (...) return x;» is common enough to call its handler directly.
    if (branch.run == &returnValue) {
        if (!in.enter(branch))
            return ScriptValue();
        return returnValue(in, branch);
    }
    return in.eval(branch);
}

// As a statement: a comparison that fails with no "else" to run, or one that holds with a branch
// that runs whole too. Otherwise nothing is done (the comparison leaves no trace).
template <BinaryOp OP> ScriptValue* OpHandlers::execIfCompare(ScriptInterpreter& in, const Op& op)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return nullptr;
    const int decided = compareLeaves<OP>(in, *op.child[0]);
    const Op& branch = *op.child[decided > 0 ? 1 : 2];
    if (decided < 0 || (branch.node && !branch.exec))
        return nullptr;
    --in.m_stepsLeft;
    if (!branch.node)
        return &in.m_zero;
    if (ScriptValue* storage = branch.exec(in, branch))
        return storage;
    ++in.m_stepsLeft;
    return nullptr;
}

// As a statement, an "if" of any other condition: as execIfCompare when the condition is a
// comparison of leaves or computed in place.
ScriptValue* OpHandlers::execIfElse(ScriptInterpreter& in, const Op& op)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return nullptr;
    const uint64_t before = in.m_stepsLeft--;
    const Op& condition = *op.child[0];
    bool taken;
    if (!quickComparison(in, condition, taken)) {
        ScriptValue value;
        if (!condition.compute || !condition.compute(in, condition, value)) {
            in.m_stepsLeft = before;
            return nullptr;
        }
        taken = truth(value);
    }
    const Op& branch = *op.child[taken ? 1 : 2];
    if (!branch.node)
        return &in.m_zero;
    if (branch.exec)
        if (ScriptValue* storage = branch.exec(in, branch))
            return storage;
    in.m_stepsLeft = before;
    return nullptr;
}

// As a statement, «return x» with x a name or literal, or computed in place.
ScriptValue* OpHandlers::execReturn(ScriptInterpreter& in, const Op& op)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return nullptr;
    const Op& valueOp = *op.child[0];
    ScriptValue& value = in.m_returned;
    value.reset();
    --in.m_stepsLeft;
    if (valueOp.leaf != OpLeaf::None) {
        const ScriptValue* leaf = in.peek(valueOp);
        if (!leaf) {
            ++in.m_stepsLeft;
            return nullptr;
        }
        value = *leaf;
    } else if (!valueOp.compute || !valueOp.compute(in, valueOp, value)) {
        ++in.m_stepsLeft;
        return nullptr;
    }
    in.countUp(in.m_flags.returnCount);
    return &value;
}

// As a statement, «x = y» with y a name or literal holding a number and x a name holding one.
ScriptValue* OpHandlers::execAssignLeaf(ScriptInterpreter& in, const Op& op)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return nullptr;
    ScriptValue* target = valueAt(op.place[0]);
    const ScriptValue* value = valueAt(op.place[2]);
    if (!target || !value || !target->isWritableNumber() || !isNumberOrNull(*value)) [[unlikely]]
        return nullptr;
    --in.m_stepsLeft;
    *target = *value;
    return target;
}

template <BinaryOp OP> static bool specializeIf(Op& op)
{
    if (op.child[0]->quickTest != &OpHandlers::compareLeaves<OP>)
        return false;
    if (op.run == &OpHandlers::whileLoop) {
        op.run = &OpHandlers::whileLoopOf<OP, true>;
    } else {
        op.run = &OpHandlers::ifCompare<OP>;
        op.exec = &OpHandlers::execIfCompare<OP>;
    }
    return true;
}

void OpHandlers::specializeIf(Op& op)
{
    if (op.run != &ifElse && op.run != &whileLoop)
        return;
    if (op.run == &ifElse)
        op.exec = &execIfElse;
    vorpane::script::specializeIf<BinaryOp::Equal>(op)
        || vorpane::script::specializeIf<BinaryOp::NotEqual>(op)
        || vorpane::script::specializeIf<BinaryOp::Less>(op)
        || vorpane::script::specializeIf<BinaryOp::LessEqual>(op)
        || vorpane::script::specializeIf<BinaryOp::GreaterEqual>(op)
        || vorpane::script::specializeIf<BinaryOp::Greater>(op);
}

ScriptValue OpHandlers::conditional(ScriptInterpreter& in, const Op& op)
{
    return in.eval(*op.child[holds(in, op, *op.child[0]) ? 1 : 2]);
}

// QUICK: the condition compares two leaves by OP, decided here when it can be.
template <BinaryOp OP, bool QUICK> ScriptValue OpHandlers::whileLoopOf(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue result;
    RunFlags& flags = in.m_flags;
    const Op& condition = *op.child[0];
    const Op& body = *op.child[1];
    const bool sequenceBody = body.run == &sequence;
    // A sequence's value stays where its last statement left it, and is copied once the loop is
    // over, when the condition only reads (the quick one compares two leaves).
    const ScriptValue* last = &result;
    for (;;) {
        bool go;
        if constexpr (QUICK) {
            int decided = compareLeaves<OP>(in, condition);
            go = decided >= 0 ? decided > 0 : test(in, op, condition);
        } else {
            go = holds(in, op, condition);
        }
        if (!go)
            break;
        if (sequenceBody) {
            if (!in.enter(body)) [[unlikely]] {
                result = ScriptValue();
                last = &result;
            } else if (QUICK) {
                last = runSequenceLast(in, body, result);
            } else {
                runSequenceInto(in, body, result);
            }
        } else {
            result = materialize(in.eval(body));
        }
        if (flags.breakCount) {
            in.countDown(flags.breakCount);
            break;
        }
        if (flags.abort)
            break;
        if (flags.continueCount)
            in.countDown(flags.continueCount);
    }
    if (last != &result)
        return *last;
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

ScriptValue OpHandlers::whileLoop(ScriptInterpreter& in, const Op& op)
{
    return whileLoopOf<BinaryOp::Add, false>(in, op);
}

// The third part of "for", whose value nobody sees: "i++" and the like step the variable without
// a call to their handler (the node still counts as evaluated).
[[gnu::always_inline]] inline void OpHandlers::runForStep(ScriptInterpreter& in, const Op& op)
{
    OpHandler run = op.run;
    bool up = run == &step<true, true> || run == &step<true, false>;
    bool down = run == &step<false, true> || run == &step<false, false>;
    if (!up && !down) {
        in.eval(op);
        return;
    }
    if (!in.enter(op))
        return;
    if (up ? stepInPlace<true>(in, *op.child[0]) : stepInPlace<false>(in, *op.child[0]))
        return;
    run(in, op);
}

ScriptValue OpHandlers::forLoop(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue result;
    ScriptValue temp;
    RunFlags& flags = in.m_flags;
    in.eval(*op.child[0]);
    for (;;) {
        bool go;
        if (!quickComparison(in, *op.child[1], go)) {
            const Op& condition = *op.child[1];
            ScriptValue computed;
            if (condition.compute && condition.compute(in, condition, computed))
                go = forCondition(computed);
            else
                go = forCondition(in.read(condition, temp));
        }
        if (!go)
            break;
        result = materialize(in.eval(*op.child[3]));
        if (flags.breakCount) {
            in.countDown(flags.breakCount);
            break;
        }
        if (flags.abort)
            break;
        if (flags.continueCount)
            in.countDown(flags.continueCount);
        runForStep(in, *op.child[2]);
    }
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

template <BinaryOp OP> bool OpHandlers::computeLeaves(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return false;
    const ScriptValue* right = valueAt(op.place[2]);
    const ScriptValue* left = valueAt(op.place[1]);
    if (!right || !left || !numericBinary<OP>(*left, *right, out)) [[unlikely]]
        return false;
    --in.m_stepsLeft;
    return true;
}

// An operand of computeBinary: a leaf read in place or an operator computed.
[[gnu::always_inline]] static inline bool operandNumber(
    ScriptInterpreter& in, const Op& operand, const OperandPlace& place, ScriptValue& out)
{
    if (operand.leaf != OpLeaf::None) {
        const ScriptValue* v = valueAt(place);
        if (!v || !v->isWritableNumber())
            return false;
        out = *v;
        return true;
    }
    return operand.compute(in, operand, out);
}

// An operator whose operands are leaves or computed operators, right first as evaluation goes.
// Nothing it does can be seen but the steps, which are given back when the general way has to
// decide after all.
template <BinaryOp OP> bool OpHandlers::computeBinary(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return false;
    const uint64_t before = in.m_stepsLeft--;
    ScriptValue right, left;
    if (operandNumber(in, *op.child[1], op.place[2], right)
        && operandNumber(in, *op.child[0], op.place[1], left) && numericBinary<OP>(left, right, out))
        [[likely]]
        return true;
    in.m_stepsLeft = before;
    return false;
}

// «(a INNER b) OP c», or «c OP (a INNER b)» when INNER_LEFT is false, with a, b and c names or
// literals: as computeBinary over computeLeaves, both operators at once.
template <BinaryOp OP, BinaryOp INNER, bool INNER_LEFT>
bool OpHandlers::computeOverLeaves(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    // The outer operator's step, then the inner one's, neither of which may reach the poll.
    if (in.pending() || in.m_stepsLeft <= 2) [[unlikely]]
        return false;
    const Op& inner = *op.child[INNER_LEFT ? 0 : 1];
    const ScriptValue* leaf = valueAt(op.place[INNER_LEFT ? 2 : 1]);
    const ScriptValue* innerRight = valueAt(inner.place[2]);
    const ScriptValue* innerLeft = valueAt(inner.place[1]);
    if (!leaf || !leaf->isWritableNumber() || !innerRight || !innerLeft) [[unlikely]]
        return false;
    ScriptValue innerValue;
    if (!numericBinary<INNER>(*innerLeft, *innerRight, innerValue)) [[unlikely]]
        return false;
    if (!numericBinary<OP>(INNER_LEFT ? innerValue : *leaf, INNER_LEFT ? *leaf : innerValue, out))
        [[unlikely]]
        return false;
    in.m_stepsLeft -= 2;
    return true;
}

// «a[i] OP c», or «c OP a[i]» when ELEMENT_LEFT is false, with a, i and c names or literals: as
// computeBinary over computeElement, at once.
template <BinaryOp OP, bool ELEMENT_LEFT>
bool OpHandlers::computeOverElement(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    // The operator's step, then the element's node and its two leaves.
    if (in.pending() || in.m_stepsLeft <= 4) [[unlikely]]
        return false;
    const Op& elementOp = *op.child[ELEMENT_LEFT ? 0 : 1];
    const ScriptValue* leaf = valueAt(op.place[ELEMENT_LEFT ? 2 : 1]);
    const ScriptValue* index = valueAt(elementOp.place[2]);
    const ScriptValue* array = valueAt(elementOp.place[1]);
    if (!leaf || !leaf->isWritableNumber() || !index || !array || !isNumberKind(index->kind())
        || array->kind() != ValueKind::Object) [[unlikely]]
        return false;
    const ScriptValue* element = array->objectValue()->existingElement(index->toUnsigned());
    if (!element || !isNumberOrNull(*element)) [[unlikely]]
        return false;
    if (!numericBinary<OP>(ELEMENT_LEFT ? *element : *leaf, ELEMENT_LEFT ? *leaf : *element, out))
        [[unlikely]]
        return false;
    in.m_stepsLeft -= 4;
    return true;
}

// Unary minus of a leaf or a computed operator.
bool OpHandlers::computeNegate(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (in.pending() || in.m_stepsLeft <= 1) [[unlikely]]
        return false;
    const uint64_t before = in.m_stepsLeft--;
    ScriptValue operand;
    if (operandNumber(in, *op.child[0], op.place[1], operand)) [[likely]] {
        if (operand.kind() == ValueKind::Integer) {
            out.overwriteInteger(wrapped(0u - uint32_t(operand.integerValue())));
            return true;
        }
        if (operand.kind() == ValueKind::Float) {
            out.overwriteFloat(-operand.floatValue());
            return true;
        }
    }
    in.m_stepsLeft = before;
    return false;
}

// «a[i]» with a and i names or literals, when the element is there already and holds a number:
// its node and the two leaves count as evaluated.
bool OpHandlers::computeElement(ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (in.pending() || in.m_stepsLeft <= 3) [[unlikely]]
        return false;
    const ScriptValue* index = valueAt(op.place[2]);
    const ScriptValue* array = valueAt(op.place[1]);
    if (!index || !array || !isNumberKind(index->kind()) || array->kind() != ValueKind::Object) [[unlikely]]
        return false;
    const ScriptValue* element = array->objectValue()->existingElement(index->toUnsigned());
    if (!element || !isNumberOrNull(*element)) [[unlikely]]
        return false;
    out = *element;
    in.m_stepsLeft -= 3;
    return true;
}

// «x = value» with x a name and value computed: into x when it holds a number. STEPS: the nodes
// passed before the value's own (the assignment's, when run as a statement).
template <uint64_t STEPS>
[[gnu::always_inline]] inline ScriptValue* OpHandlers::computeIntoTarget(ScriptInterpreter& in, const Op& op)
{
    if (in.pending() || in.m_stepsLeft <= STEPS || !op.placed) [[unlikely]]
        return nullptr;
    ScriptValue* target = valueAt(op.place[0]);
    if (!target || !target->isWritableNumber()) [[unlikely]]
        return nullptr;
    in.m_stepsLeft -= STEPS;
    ScriptValue value;
    const Op& valueOp = *op.child[1];
    if (!valueOp.compute(in, valueOp, value)) [[unlikely]] {
        in.m_stepsLeft += STEPS;
        return nullptr;
    }
    *target = value;
    return target;
}

ScriptValue* OpHandlers::execAssignComputed(ScriptInterpreter& in, const Op& op)
{
    return computeIntoTarget<1>(in, op);
}

ScriptValue OpHandlers::assignComputed(ScriptInterpreter& in, const Op& op)
{
    if (ScriptValue* target = computeIntoTarget<0>(in, op)) [[likely]]
        return ScriptValue::reference(target);
    return op.fallback(in, op);
}

[[gnu::always_inline]] inline ScriptValue OpHandlers::returnValue(ScriptInterpreter& in, const Op& op)
{
    ScriptValue value;
    evaluateInto(in, *op.child[0], value);
    in.countUp(in.m_flags.returnCount);
    return value;
}

ScriptValue OpHandlers::breakLoop(ScriptInterpreter& in, const Op&)
{
    in.countUp(in.m_flags.breakCount);
    return ScriptValue();
}

ScriptValue OpHandlers::continueLoop(ScriptInterpreter& in, const Op&)
{
    in.countUp(in.m_flags.continueCount);
    return ScriptValue();
}

ScriptValue OpHandlers::comma(ScriptInterpreter& in, const Op& op)
{
    in.eval(*op.child[0]);
    return in.eval(*op.child[1]);
}

// --- Operators --------------------------------------------------------------------------------

namespace {

// Numbers of the common kinds, without the general rules; false when the rules must decide.
// out holds nothing to release (a fresh value or a writable number).
} // namespace

// Both operands are evaluated, the right one first; then the operator.
// Inlined into the fused assignments; the pointer to it is an out-of-line copy.
template <BinaryOp OP>
[[gnu::always_inline]] inline ScriptValue OpHandlers::binary(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue rightTemp, leftTemp;
    const ScriptValue& right = in.read(*op.child[1], rightTemp);
    const ScriptValue& left = in.read(*op.child[0], leftTemp);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptValue out;
    if (numericBinary<OP>(left.deref(), right.deref(), out))
        return out;
    return binaryOperation(OP, left, right);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// Out of line, so that the callers' fast paths stay small.
template <BinaryOp OP> [[gnu::noinline]] static ScriptValue generalBinary(ScriptInterpreter& in, const Op& op)
{
    return OpHandlers::binary<OP>(in, op);
}

// Both operands are names or literals: numbers are read in place.
template <BinaryOp OP> ScriptValue OpHandlers::binaryOfLeaves(ScriptInterpreter& in, const Op& op)
{
    const ScriptValue* right;
    const ScriptValue* left;
    if (op.placed) [[likely]] {
        right = valueAt(op.place[2]);
        left = valueAt(op.place[1]);
    } else {
        right = in.peek(*op.child[1]);
        left = right ? in.peek(*op.child[0]) : nullptr;
    }
    if (left && right) {
        ScriptValue out;
        if (numericBinary<OP>(*left, *right, out))
            return out;
    }
    return generalBinary<OP>(in, op);
}

template <UnaryOp OP> ScriptValue OpHandlers::unary(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue temp;
    const ScriptValue& operand = in.read(*op.child[0], temp);
    if (in.m_flags.abort)
        return ScriptValue();
    const ScriptValue& v = operand.deref();
    if (OP == UnaryOp::Negate && v.kind() == ValueKind::Integer)
        return ScriptValue(wrapped(0u - uint32_t(v.integerValue())));
    if (OP == UnaryOp::Negate && v.kind() == ValueKind::Float)
        return ScriptValue(-v.floatValue());
    return unaryOperation(OP, operand);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// "++" or "--" of a variable holding a writable Integer, done in place; false for anything else.
template <bool UP>
[[gnu::always_inline]] inline bool OpHandlers::stepInPlace(ScriptInterpreter& in, const Op& operand)
{
    if (operand.leaf != OpLeaf::Name)
        return false;
    ScriptValue* target = in.lookup(*operand.name);
    if (!target || target->isReadOnly() || target->kind() != ValueKind::Integer)
        return false;
    *target = ScriptValue(wrapped(uint32_t(target->integerValue()) + (UP ? 1u : 0xFFFFFFFFu)));
    return true;
}

template <bool UP, bool POST> ScriptValue OpHandlers::step(ScriptInterpreter& in, const Op& op)
try {
    const Op& operandOp = *op.child[0];
    if (operandOp.leaf == OpLeaf::Name) {
        ScriptValue* target = in.lookup(*operandOp.name);
        if (target && !target->isReadOnly() && target->kind() == ValueKind::Integer) {
            int32_t before = target->integerValue();
            *target = ScriptValue(wrapped(uint32_t(before) + (UP ? 1u : 0xFFFFFFFFu)));
            return POST ? ScriptValue(before) : ScriptValue::reference(target);
        }
    }
    ScriptValue operand = in.eval(operandOp);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptValue before;
    if (POST)
        before = ScriptValue(operand.deref());
    if (UP)
        incrementValue(operand);
    else
        decrementValue(operand);
    if (POST)
        return before;
    return operand;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// --- Assignment -------------------------------------------------------------------------------

// Resolves an assignment target; anything but a name, member or element is not one.
ScriptValue OpHandlers::target(ScriptInterpreter& in, const Op& op)
{
    if (in.stopped())
        return ScriptValue();
    NodeKind kind = op.node ? op.node->kind : NodeKind::Comma;
    if (kind != NodeKind::Identifier && kind != NodeKind::Member && kind != NodeKind::Index) {
        in.reportError(op.node, "Invalid LValue");
        return scratch(in);
    }
    return in.eval(op);
}

// The rest of an assignment once its value is known: the value is stored in the target, and the
// assignment's own value is the target.
[[gnu::always_inline]] inline ScriptValue OpHandlers::store(
    ScriptInterpreter& in, const Op& op, const ScriptValue& value)
{
    const Op& targetOp = *op.child[0];
    if (targetOp.leaf == OpLeaf::Name && !in.pending()) {
        ScriptValue* storage = in.lookup(*targetOp.name);
        const ScriptValue& v = value.deref();
        if (storage && !storage->isReadOnly() && isNumberOrNull(*storage) && isNumberOrNull(v)) {
            *storage = v;
            return ScriptValue::reference(storage);
        }
    }
    ScriptValue target = OpHandlers::target(in, targetOp);
    if (in.m_flags.abort)
        return ScriptValue();
    target.assign(value);
    return target;
}

ScriptValue OpHandlers::assign(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue valueTemp;
    return store(in, op, in.read(*op.child[1], valueTemp));
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// An assignment of an arithmetic operator's result: the operator's handler runs inline (its node
// still passes the entry checks and reports its own errors).
template <BinaryOp OP, bool LEAVES>
ScriptValue OpHandlers::assignOfBinary(ScriptInterpreter& in, const Op& op)
try {
    const Op& valueOp = *op.child[1];
    ScriptValue value = !in.enter(valueOp) ? ScriptValue()
        : LEAVES                           ? binaryOfLeaves<OP>(in, valueOp)
                                           : binary<OP>(in, valueOp);
    return store(in, op, value);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// An assignment of a call's result: the call runs without the general evaluation of its node
// (which still passes the entry checks).
ScriptValue OpHandlers::assignOfCall(ScriptInterpreter& in, const Op& op)
try {
    const Op& valueOp = *op.child[1];
    ScriptValue value = in.enter(valueOp) ? call(in, valueOp) : ScriptValue();
    // A number into a name that holds one, as store() would.
    if (op.placed && !in.pending()) [[likely]] {
        ScriptValue* target = valueAt(op.place[0]);
        if (target && target->isWritableNumber() && value.isWritableNumber()) {
            *target = value;
            return ScriptValue::reference(target);
        }
    }
    return store(in, op, value);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// As a statement, «x = f(...)» with x a name: as assignOfCall, without building a reference to
// give back.
ScriptValue* OpHandlers::execAssignCall(ScriptInterpreter& in, const Op& op)
{
    // The assignment's and the call's entries, neither of which may reach the poll.
    if (in.pending() || in.m_stepsLeft <= 2) [[unlikely]]
        return nullptr;
    in.m_stepsLeft -= 2;
    ScriptValue value = callInline(in, *op.child[1]);
    if (!in.pending()) [[likely]] {
        ScriptValue* target = valueAt(op.place[0]);
        if (target && target->isWritableNumber() && value.isWritableNumber()) {
            *target = value;
            return target;
        }
    }
    ScriptValue& result = in.m_statementValue;
    try {
        result = materialize(store(in, op, value));
    } catch (const ScriptError& error) {
        result = failed(in, op, error);
    }
    return &result;
}

// addToName once its right side has been read; rightTemp (which right may be) is emptied once
// right is no longer needed.
[[gnu::always_inline]] inline ScriptValue OpHandlers::addRightToName(
    ScriptInterpreter& in, const Op& op, const ScriptValue& right, ScriptValue& rightTemp)
{
    const Op& add = *op.child[1];
    ScriptValue value;
    ScriptValue* grown = nullptr;
    bool appended = false;
    try {
        bool decided = false;
        if (!in.pending()) {
            ScriptValue* left = in.lookup(*add.child[0]->name);
            if (left && left->kind() != ValueKind::Reference) {
                decided = numericBinary<BinaryOp::Add>(*left, right.deref(), value);
                if (!decided)
                    grown = appendInPlace(in, op, right, appended);
            }
        }
        if (!decided && !appended) {
            ScriptValue leftTemp;
            const ScriptValue& left = in.read(*add.child[0], leftTemp);
            if (!in.m_flags.abort && !numericBinary<BinaryOp::Add>(left.deref(), right.deref(), value))
                value = binaryOperation(BinaryOp::Add, left, right);
        }
        rightTemp.reset();
    } catch (const ScriptError& error) {
        rightTemp.reset();
        value = failed(in, add, error);
    }
    if (appended)
        return grown ? ScriptValue::reference(grown) : ScriptValue();
    return store(in, op, value);
}

// «x = x + y»: numbers as in assignOfBinary; a text that only x holds grows in place instead of
// being copied into a new one at every turn of a loop. The steps spent and the errors are those
// of the general way, which everything else takes.
ScriptValue OpHandlers::addToName(ScriptInterpreter& in, const Op& op)
try {
    const Op& add = *op.child[1];
    if (!in.enter(add))
        return store(in, op, ScriptValue());
    ScriptValue rightTemp;
    const ScriptValue* right;
    try {
        right = &in.read(*add.child[1], rightTemp);
    } catch (const ScriptError& error) {
        rightTemp.reset();
        return store(in, op, failed(in, add, error));
    }
    return addRightToName(in, op, *right, rightTemp);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// As a statement, «x = x + f(...)»: a number the call gives is added straight into x when x
// holds one.
ScriptValue* OpHandlers::execAddCallToName(ScriptInterpreter& in, const Op& op)
{
    // The assignment's, the addition's and the call's entries.
    if (in.pending() || in.m_stepsLeft <= 3) [[unlikely]]
        return nullptr;
    in.m_stepsLeft -= 3;
    ScriptValue right = callInline(in, *op.child[1]->child[1]);
    if (!in.pending()) [[likely]] {
        ScriptValue* target = valueAt(op.place[0]);
        ScriptValue sum;
        if (target && target->isWritableNumber() && numericBinary<BinaryOp::Add>(*target, right, sum)) {
            *target = sum;
            return target;
        }
    }
    ScriptValue& result = in.m_statementValue;
    try {
        result = materialize(addRightToName(in, op, right, right));
    } catch (const ScriptError& error) {
        result = failed(in, op, error);
    }
    return &result;
}

// The text of addToName's target grown by right's text, when the target holds a text nobody else
// shares and right is not an object (whose conversion could run anything): done is set, and the
// result is the target, or none when the budget ran out. Otherwise the general way decides.
ScriptValue* OpHandlers::appendInPlace(
    ScriptInterpreter& in, const Op& op, const ScriptValue& right, bool& done)
{
    ScriptValue* target = in.lookup(*op.child[0]->name);
    std::string* text = target ? target->unsharedText() : nullptr;
    const ScriptValue& piece = right.deref();
    if (!text || piece.kind() == ValueKind::Object)
        return nullptr;
    std::string converted;
    std::string_view added;
    if (piece.kind() == ValueKind::String) {
        added = piece.stringValue();
        if (added.data() == text->data()) // «s = s + s»
            return nullptr;
    } else {
        piece.appendText(converted);
        added = converted;
    }
    const size_t length = text->size() + added.size();
    if (length > kMaxStringLength) // the general way reports it
        return nullptr;
    done = true;
    // As the general way: the concatenation spends the budget, then the target is evaluated.
    if (!spendSteps(length / kTextBytesPerStep) || !in.enter(*op.child[0]))
        return nullptr;
    target->appendToUnsharedText(added);
    return target;
}

// «x = a OP b» with a and b names or literals: numbers are computed straight into x, with the
// entry checks of the operator's node made in passing. Anything else (something pending, the
// step budget at its end, a text, a read-only or unusual x) takes the general way before anything
// has changed. SAME_NAME: x is a, and the general way is addToName.
// «x = a OP b» with a and b names or literals and x a name, when the result is a number and x
// holds one: computed straight into x, spending the steps of the nodes passed. False, with
// nothing done, when something is pending, the step budget is near its end or the general way
// has to decide.
template <BinaryOp OP>
[[gnu::always_inline]] inline ScriptValue* OpHandlers::computeIntoName(
    ScriptInterpreter& in, const Op& op, uint64_t steps)
{
    if (in.pending() || in.m_stepsLeft <= steps || !op.placed) [[unlikely]]
        return nullptr;
    const ScriptValue* right = valueAt(op.place[2]);
    const ScriptValue* left = valueAt(op.place[1]);
    ScriptValue* target = valueAt(op.place[0]);
    if (!right || !left || !target || !target->isWritableNumber()
        || !numericBinary<OP>(*left, *right, *target)) [[unlikely]]
        return nullptr;
    in.m_stepsLeft -= steps;
    return target;
}

// The handler: the assignment's node has passed its entry checks; the operator's node is passed
// here. SAME_NAME: x is a, and the general way is addToName.
template <BinaryOp OP, bool SAME_NAME>
ScriptValue OpHandlers::assignNameOfLeaves(ScriptInterpreter& in, const Op& op)
{
    if (ScriptValue* target = computeIntoName<OP>(in, op, 1)) [[likely]]
        return ScriptValue::reference(target);
    if (SAME_NAME)
        return addToName(in, op);
    return assignOfBinary<OP, true>(in, op);
}

// As a statement: both nodes are passed here.
template <BinaryOp OP> ScriptValue* OpHandlers::execAssignNameOfLeaves(ScriptInterpreter& in, const Op& op)
{
    return computeIntoName<OP>(in, op, 2);
}

template <BinaryOp OP> static bool fuseAssignmentOf(Op& op)
{
    OpHandler valueRun = op.child[1]->run;
    if (valueRun == &OpHandlers::binaryOfLeaves<OP> && op.child[0]->leaf == OpLeaf::Name) {
        bool same = OP == BinaryOp::Add && op.child[1]->child[0]->leaf == OpLeaf::Name
            && op.child[0]->name->nameId == op.child[1]->child[0]->name->nameId;
        op.run
            = same ? &OpHandlers::assignNameOfLeaves<OP, true> : &OpHandlers::assignNameOfLeaves<OP, false>;
        op.exec = &OpHandlers::execAssignNameOfLeaves<OP>;
        return true;
    }
    if (valueRun == &OpHandlers::binary<OP>)
        op.run = &OpHandlers::assignOfBinary<OP, false>;
    else if (valueRun == &OpHandlers::binaryOfLeaves<OP>)
        op.run = &OpHandlers::assignOfBinary<OP, true>;
    else
        return false;
    return true;
}

void OpHandlers::fuseAssignment(Op& op)
{
    if (op.run != &assign || !op.child[1])
        return;
    if (op.child[1]->run == &call) {
        op.run = &assignOfCall;
        return;
    }
    const Op& value = *op.child[1];
    if (value.run == &binary<BinaryOp::Add> && op.child[0]->leaf == OpLeaf::Name
        && value.child[0]->leaf == OpLeaf::Name
        && op.child[0]->name->nameId == value.child[0]->name->nameId) {
        op.run = &addToName;
        if (value.child[1]->run == &call)
            op.exec = &execAddCallToName; // placed with the other operands, or dropped
        return;
    }
    fuseAssignmentOf<BinaryOp::Add>(op) || fuseAssignmentOf<BinaryOp::Subtract>(op)
        || fuseAssignmentOf<BinaryOp::Multiply>(op) || fuseAssignmentOf<BinaryOp::Divide>(op)
        || fuseAssignmentOf<BinaryOp::Remainder>(op);
}

template <BinaryOp OP> ScriptValue OpHandlers::compoundAssign(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue value = in.eval(*op.child[1]);
    ScriptValue target = OpHandlers::target(in, *op.child[0]);
    if (in.m_flags.abort)
        return ScriptValue();
    target.assign(binaryOperation(OP, target, value));
    return target;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

template <bool LEFT> ScriptValue OpHandlers::shiftAssign(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue value = in.eval(*op.child[1]);
    ScriptValue target = OpHandlers::target(in, *op.child[0]);
    if (in.m_flags.abort)
        return ScriptValue();
    script::shiftAssign(target, value, LEFT);
    return target;
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// --- Members and elements ---------------------------------------------------------------------

ScriptValue OpHandlers::member(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue holder = in.eval(*op.child[0]);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptObject* object = holder.object();
    if (!object) {
        in.reportError(op.node, "LHS is not an object");
        return scratch(in);
    }
    static const std::string noName;
    const std::string& name = op.child[1]->node ? op.child[1]->node->text : noName;
    ScriptValue* member = object->findMember(name);
    if (!member) {
        in.reportError(op.node, "Member variable \"" + name + "\" not found");
        return scratch(in);
    }
    return ScriptValue::reference(member, object);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

ScriptValue OpHandlers::index(ScriptInterpreter& in, const Op& op)
try {
    uint32_t index = in.eval(*op.child[1]).toUnsigned();
    ScriptValue array = in.eval(*op.child[0]);
    if (in.m_flags.abort)
        return ScriptValue();
    const ScriptValue& v = array.deref();
    switch (v.kind()) {
    case ValueKind::Object: {
        ScriptObject* object = v.objectValue();
        ScriptValue hold(object);
        ScriptValue* element = object->element(index);
        if (!element)
            return scratch(in);
        return ScriptValue::reference(element, object);
    }
    case ValueKind::Unsigned:
        raiseError(ErrUnsignedOperator);
    case ValueKind::Float:
        raiseError(ErrFloatOperator);
    case ValueKind::String:
        raiseError(ErrStringOperator);
    default:
        raiseError(ErrIntegerOperator);
    }
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// «a[i]» with a and i names or literals: they are read in place (their nodes still count as
// evaluated) when i is a number and a holds an object; anything else goes the general way.
ScriptValue OpHandlers::indexOfLeaves(ScriptInterpreter& in, const Op& op)
try {
    if (!in.pending() && in.m_stepsLeft > 2) [[likely]] {
        const ScriptValue* index = valueAt(op.place[2]);
        const ScriptValue* array = valueAt(op.place[1]);
        if (index && array && isNumberKind(index->kind()) && array->kind() == ValueKind::Object) [[likely]] {
            in.m_stepsLeft -= 2;
            ScriptObject* object = array->objectValue();
            ScriptValue* element = object->element(index->toUnsigned());
            if (!element)
                return scratch(in);
            return ScriptValue::reference(element, object);
        }
    }
    return OpHandlers::index(in, op);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// «a[i] = v» with a, i and v names or literals: as indexOfLeaves, then the value is stored.
ScriptValue OpHandlers::assignElementOfLeaves(ScriptInterpreter& in, const Op& op)
try {
    const Op& targetOp = *op.child[0];
    if (!in.pending() && in.m_stepsLeft > 3) [[likely]] {
        const ScriptValue* value = valueAt(op.place[2]);
        const ScriptValue* index = valueAt(targetOp.place[2]);
        const ScriptValue* array = valueAt(targetOp.place[1]);
        if (value && index && array && value->kind() != ValueKind::Reference && isNumberKind(index->kind())
            && array->kind() == ValueKind::Object) [[likely]] {
            // The element's node and its two leaves.
            in.m_stepsLeft -= 3;
            ScriptObject* object = array->objectValue();
            ScriptValue* element;
            try {
                element = object->element(index->toUnsigned());
            } catch (const ScriptError& error) {
                return failed(in, targetOp, error); // the element's own failure; nothing is stored
            }
            ScriptValue target = element ? ScriptValue::reference(element, object) : scratch(in);
            target.assign(*value);
            return target;
        }
    }
    return assign(in, op);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// As a statement, «a[i] = v» as assignElementOfLeaves: a number goes straight into an element
// that holds one, without a reference that holds the array for the length of the statement.
ScriptValue* OpHandlers::execAssignElement(ScriptInterpreter& in, const Op& op)
{
    // The assignment's entry, then the element's node and its two leaves.
    if (in.pending() || in.m_stepsLeft <= 4) [[unlikely]]
        return nullptr;
    const Op& targetOp = *op.child[0];
    const ScriptValue* value = valueAt(op.place[2]);
    const ScriptValue* index = valueAt(targetOp.place[2]);
    const ScriptValue* array = valueAt(targetOp.place[1]);
    if (!value || !index || !array || value->kind() == ValueKind::Reference || !isNumberKind(index->kind())
        || array->kind() != ValueKind::Object) [[unlikely]]
        return nullptr;
    in.m_stepsLeft -= 4;
    ScriptValue& result = in.m_statementValue;
    ScriptObject* object = array->objectValue();
    ScriptValue* element;
    try {
        element = object->element(index->toUnsigned());
    } catch (const ScriptError& error) {
        result = failed(in, targetOp, error); // the element's own failure; nothing is stored
        return &result;
    }
    if (element && element->isWritableNumber() && isNumberOrNull(*value)) [[likely]] {
        *element = *value;
        return element;
    }
    try {
        ScriptValue target = element ? ScriptValue::reference(element, object) : scratch(in);
        target.assign(*value);
        result = materialize(std::move(target));
    } catch (const ScriptError& error) {
        result = failed(in, op, error);
    }
    return &result;
}

// --- Specialised handlers ----------------------------------------------------------------------

namespace {

bool placeOf(const std::vector<ScriptValue*>& globals, const Op& leaf, OperandPlace& place)
{
    if (leaf.leaf == OpLeaf::Constant) {
        place.base = &leaf.constantAddress;
        place.offset = 0;
        return true;
    }
    if (leaf.leaf != OpLeaf::Name)
        return false;
    const NameSlot& slot = *leaf.name;
    switch (slot.place) {
    case NamePlace::Parameter:
    case NamePlace::LeadingLocal:
        place.base = reinterpret_cast<const void* const*>(slot.base);
        place.offset = size_t(slot.index) * sizeof(Variable) + offsetof(Variable, value);
        return true;
    case NamePlace::Global:
        // The cells never move once the names are interned.
        place.base = reinterpret_cast<const void* const*>(&globals[size_t(slot.nameId)]);
        place.offset = 0;
        return true;
    default:
        return false;
    }
}

} // namespace

void OpHandlers::placeOperands(ScriptInterpreter& in, Op& op)
{
    const auto& globals = in.m_globalById;
    if (op.run == &index) {
        op.placed
            = placeOf(globals, *op.child[0], op.place[1]) && placeOf(globals, *op.child[1], op.place[2]);
        if (op.placed)
            op.run = &indexOfLeaves;
        return;
    }
    if (op.run == &assign && op.child[0]->node && op.child[0]->node->kind == NodeKind::Index) {
        Op& targetOp = const_cast<Op&>(*op.child[0]);
        placeOperands(in, targetOp);
        op.placed = targetOp.placed && placeOf(globals, *op.child[1], op.place[2]);
        if (op.placed) {
            op.run = &assignElementOfLeaves;
            op.exec = &execAssignElement;
        }
        return;
    }
    if (op.run == &assignOfCall || op.run == &addToName) {
        op.placed = placeOf(globals, *op.child[0], op.place[0]);
        if (op.run == &assignOfCall && op.placed)
            op.exec = &execAssignCall;
        else if (!op.placed)
            op.exec = nullptr;
        return;
    }
    if (op.exec && op.node->kind == NodeKind::Assign) { // a name set by an operator of leaves
        const Op& value = *op.child[1];
        op.placed = placeOf(globals, *op.child[0], op.place[0])
            && placeOf(globals, *value.child[0], op.place[1])
            && placeOf(globals, *value.child[1], op.place[2]);
        if (!op.placed)
            op.exec = nullptr;
        return;
    }
    if (op.quickTest
        || (op.child[0] && op.child[1] && op.child[0]->leaf != OpLeaf::None
            && op.child[1]->leaf != OpLeaf::None && op.node && op.node->kind >= NodeKind::Equal
            && op.node->kind <= NodeKind::Remainder)) {
        op.placed
            = placeOf(globals, *op.child[0], op.place[1]) && placeOf(globals, *op.child[1], op.place[2]);
    }
    if (!op.placed)
        return;
    if (op.run == &binaryOfLeaves<BinaryOp::Add>)
        op.compute = &computeLeaves<BinaryOp::Add>;
    else if (op.run == &binaryOfLeaves<BinaryOp::Subtract>)
        op.compute = &computeLeaves<BinaryOp::Subtract>;
    else if (op.run == &binaryOfLeaves<BinaryOp::Multiply>)
        op.compute = &computeLeaves<BinaryOp::Multiply>;
    else if (op.run == &binaryOfLeaves<BinaryOp::Divide>)
        op.compute = &computeLeaves<BinaryOp::Divide>;
    else if (op.run == &binaryOfLeaves<BinaryOp::Remainder>)
        op.compute = &computeLeaves<BinaryOp::Remainder>;
}

namespace {

template <BinaryOp OP> bool isBinary(const Op& op)
{
    return op.run == &OpHandlers::binary<OP> || op.run == &OpHandlers::binaryOfLeaves<OP>;
}

template <BinaryOp OP> OpCompute computeFor(const Op& op)
{
    return isBinary<OP>(op) ? &OpHandlers::computeBinary<OP> : nullptr;
}

template <BinaryOp OP, bool INNER_LEFT> OpCompute overLeavesFor(OpCompute inner)
{
    if (inner == &OpHandlers::computeLeaves<BinaryOp::Add>)
        return &OpHandlers::computeOverLeaves<OP, BinaryOp::Add, INNER_LEFT>;
    if (inner == &OpHandlers::computeLeaves<BinaryOp::Subtract>)
        return &OpHandlers::computeOverLeaves<OP, BinaryOp::Subtract, INNER_LEFT>;
    if (inner == &OpHandlers::computeLeaves<BinaryOp::Multiply>)
        return &OpHandlers::computeOverLeaves<OP, BinaryOp::Multiply, INNER_LEFT>;
    if (inner == &OpHandlers::computeLeaves<BinaryOp::Divide>)
        return &OpHandlers::computeOverLeaves<OP, BinaryOp::Divide, INNER_LEFT>;
    if (inner == &OpHandlers::computeLeaves<BinaryOp::Remainder>)
        return &OpHandlers::computeOverLeaves<OP, BinaryOp::Remainder, INNER_LEFT>;
    if (inner == &OpHandlers::computeElement)
        return &OpHandlers::computeOverElement<OP, INNER_LEFT>;
    return nullptr;
}

// computeBinary<OP> over an operator of leaves (or an element) and a leaf, as one compute; or
// none.
template <BinaryOp OP> OpCompute overLeavesOf(const Op& op)
{
    if (op.compute != &OpHandlers::computeBinary<OP>)
        return nullptr;
    const Op& left = *op.child[0];
    const Op& right = *op.child[1];
    if (right.leaf != OpLeaf::None && left.leaf == OpLeaf::None)
        return overLeavesFor<OP, true>(left.compute);
    if (left.leaf != OpLeaf::None && right.leaf == OpLeaf::None)
        return overLeavesFor<OP, false>(right.compute);
    return nullptr;
}

} // namespace

int OpHandlers::prepareCompute(ScriptInterpreter& in, Op& op, int levelsLeft)
{
    // Ops come children first, so the answers below are mostly known already; the levels left
    // bound the recursion otherwise.
    if (op.computeDepth != -2)
        return op.computeDepth;
    if (levelsLeft == 0)
        return -1;
    const NodeKind kind = op.node ? op.node->kind : NodeKind::Comma;
    if (!(kind >= NodeKind::Equal && kind <= NodeKind::Remainder) && kind != NodeKind::Negate
        && kind != NodeKind::Index) {
        op.computeDepth = -1;
        return -1;
    }
    int depth = -1;
    if (op.compute) {
        depth = 1;
    } else {
        OpCompute compute = nullptr;
        for (OpCompute candidate : { computeFor<BinaryOp::Add>(op), computeFor<BinaryOp::Subtract>(op),
                 computeFor<BinaryOp::Multiply>(op), computeFor<BinaryOp::Divide>(op),
                 computeFor<BinaryOp::Remainder>(op), computeFor<BinaryOp::Equal>(op),
                 computeFor<BinaryOp::NotEqual>(op), computeFor<BinaryOp::Less>(op),
                 computeFor<BinaryOp::LessEqual>(op), computeFor<BinaryOp::GreaterEqual>(op),
                 computeFor<BinaryOp::Greater>(op) })
            if (candidate)
                compute = candidate;
        int operands = 2;
        if (op.run == &unary<UnaryOp::Negate>) {
            compute = &computeNegate;
            operands = 1;
        } else if (op.run == &indexOfLeaves) { // its leaves are placed already
            compute = &computeElement;
            operands = 0;
        }
        int below = 0;
        for (int i = 0; compute && i < operands; ++i) {
            Op& operand = const_cast<Op&>(*op.child[i]);
            int levels = operand.leaf != OpLeaf::None
                ? (placeOf(in.m_globalById, operand, op.place[i + 1]) ? 0 : -1)
                : prepareCompute(in, operand, levelsLeft - 1);
            if (levels < 0)
                compute = nullptr;
            below = std::max(below, levels);
        }
        if (compute && below + 1 <= kMaxComputeDepth) {
            op.compute = compute;
            depth = below + 1;
            for (OpCompute fused : { overLeavesOf<BinaryOp::Add>(op), overLeavesOf<BinaryOp::Subtract>(op),
                     overLeavesOf<BinaryOp::Multiply>(op), overLeavesOf<BinaryOp::Divide>(op),
                     overLeavesOf<BinaryOp::Remainder>(op), overLeavesOf<BinaryOp::Equal>(op),
                     overLeavesOf<BinaryOp::NotEqual>(op), overLeavesOf<BinaryOp::Less>(op),
                     overLeavesOf<BinaryOp::LessEqual>(op), overLeavesOf<BinaryOp::GreaterEqual>(op),
                     overLeavesOf<BinaryOp::Greater>(op) })
                if (fused)
                    op.compute = fused;
        }
    }
    op.computeDepth = int8_t(depth);
    return depth;
}

void OpHandlers::fuseComputedAssignment(ScriptInterpreter& in, Op& op)
{
    if (op.exec || !op.node || op.node->kind != NodeKind::Assign || op.run == &assignOfCall)
        return;
    prepareCompute(in, const_cast<Op&>(*op.child[1]));
    const Op& value = *op.child[1];
    if (op.run == &assign && value.leaf != OpLeaf::None && op.child[0]->leaf == OpLeaf::Name) {
        op.placed = placeOf(in.m_globalById, *op.child[0], op.place[0])
            && placeOf(in.m_globalById, value, op.place[2]);
        if (op.placed)
            op.exec = &execAssignLeaf;
        return;
    }
    if (!value.compute || value.leaf != OpLeaf::None || op.child[0]->leaf != OpLeaf::Name)
        return;
    if (!placeOf(in.m_globalById, *op.child[0], op.place[0]))
        return;
    op.placed = true;
    op.fallback = op.run;
    op.run = &assignComputed;
    op.exec = &execAssignComputed;
}

void OpHandlers::findInheritedParameters(Op& op, std::vector<const Op*>& pending)
{
    const FunctionFrame* function = op.function;
    if (!function || op.node->kind != NodeKind::Call)
        return;
    const size_t count = function->parameterIds.size();
    if (count > 64)
        return;
    // A parameter no argument is given for keeps the value it has. An argument that reads the
    // function's own parameter (a call in the function's body) reads the new record, which it
    // sees already assigned only up to its own place. An argument that calls anything might reach
    // the function again, whose call starts from the new record: then all are taken over.
    uint64_t inherited = 0;
    for (size_t i = op.list.size(); i < count; ++i)
        inherited |= uint64_t(1) << i;
    for (size_t k = 0; k < op.list.size() && k < count; ++k) {
        pending.assign(1, op.list[k]);
        while (!pending.empty()) {
            const Op* item = pending.back();
            pending.pop_back();
            if (item->node) {
                NodeKind kind = item->node->kind;
                if (kind == NodeKind::Call || kind == NodeKind::MethodCall || kind == NodeKind::New) {
                    op.inheritedParameters = ~uint64_t(0);
                    return;
                }
            }
            const NameSlot* slot = item->name;
            if (slot && slot->place == NamePlace::Parameter && slot->frame == function
                && size_t(slot->index) >= k)
                inherited |= uint64_t(1) << slot->index;
            for (const Op* child : item->child)
                if (child)
                    pending.push_back(child);
            for (const Op* child : item->list)
                pending.push_back(child);
        }
    }
    op.inheritedParameters = inherited;
}

void OpHandlers::markArgumentsFirst(Op& op, std::vector<const Op*>& pending)
{
    const FunctionFrame* function = op.function;
    if (!function || op.list.size() != function->parameterIds.size())
        return;
    // A computed operator has only names, literals and such operators below it: it reads, and
    // writes and calls nothing.
    for (size_t k = 0; k < op.list.size(); ++k) {
        const Op* argument = op.list[k];
        if (argument->leaf == OpLeaf::None && !argument->compute)
            return;
        pending.assign(1, argument);
        while (!pending.empty()) {
            const Op* item = pending.back();
            pending.pop_back();
            const NameSlot* slot = item->name;
            if (slot && slot->place == NamePlace::Parameter && slot->frame == function
                && size_t(slot->index) < k)
                return;
            for (const Op* child : item->child)
                if (child)
                    pending.push_back(child);
        }
    }
    op.argumentsFirst = true;
}

void OpHandlers::specialize(Op& op)
{
    if (!op.child[0] || !op.child[1] || op.child[0]->leaf == OpLeaf::None
        || op.child[1]->leaf == OpLeaf::None)
        return;
    switch (op.node->kind) {
    case NodeKind::Equal:
        op.quickTest = &compareLeaves<BinaryOp::Equal>;
        break;
    case NodeKind::NotEqual:
        op.quickTest = &compareLeaves<BinaryOp::NotEqual>;
        break;
    case NodeKind::Less:
        op.quickTest = &compareLeaves<BinaryOp::Less>;
        break;
    case NodeKind::LessEqual:
        op.quickTest = &compareLeaves<BinaryOp::LessEqual>;
        break;
    case NodeKind::GreaterEqual:
        op.quickTest = &compareLeaves<BinaryOp::GreaterEqual>;
        break;
    case NodeKind::Greater:
        op.quickTest = &compareLeaves<BinaryOp::Greater>;
        break;
    default:
        break;
    }
    switch (op.node->kind) {
    case NodeKind::Equal:
        op.run = &binaryOfLeaves<BinaryOp::Equal>;
        break;
    case NodeKind::NotEqual:
        op.run = &binaryOfLeaves<BinaryOp::NotEqual>;
        break;
    case NodeKind::Less:
        op.run = &binaryOfLeaves<BinaryOp::Less>;
        break;
    case NodeKind::LessEqual:
        op.run = &binaryOfLeaves<BinaryOp::LessEqual>;
        break;
    case NodeKind::GreaterEqual:
        op.run = &binaryOfLeaves<BinaryOp::GreaterEqual>;
        break;
    case NodeKind::Greater:
        op.run = &binaryOfLeaves<BinaryOp::Greater>;
        break;
    case NodeKind::Add:
        op.run = &binaryOfLeaves<BinaryOp::Add>;
        break;
    case NodeKind::Subtract:
        op.run = &binaryOfLeaves<BinaryOp::Subtract>;
        break;
    case NodeKind::Multiply:
        op.run = &binaryOfLeaves<BinaryOp::Multiply>;
        break;
    case NodeKind::Remainder:
        op.run = &binaryOfLeaves<BinaryOp::Remainder>;
        break;
    case NodeKind::Divide:
        op.run = &binaryOfLeaves<BinaryOp::Divide>;
        break;
    default:
        break;
    }
}

// --- Handlers by kind --------------------------------------------------------------------

OpHandler OpHandlers::handlerFor(NodeKind kind)
{
    switch (kind) {
    case NodeKind::Identifier:
        return &identifier;
    case NodeKind::StringLiteral:
    case NodeKind::IntegerLiteral:
    case NodeKind::FloatLiteral:
        return &constant;
    case NodeKind::Sequence:
        return &sequence;
    case NodeKind::VarList:
        return &varList;
    case NodeKind::If:
        return &ifElse;
    case NodeKind::For:
        return &forLoop;
    case NodeKind::While:
        return &whileLoop;
    case NodeKind::Return:
        return &returnValue;
    case NodeKind::Break:
        return &breakLoop;
    case NodeKind::Continue:
        return &continueLoop;
    case NodeKind::Comma:
        return &comma;
    case NodeKind::Conditional:
        return &conditional;
    case NodeKind::Negate:
        return &unary<UnaryOp::Negate>;
    case NodeKind::LogicalNot:
        return &unary<UnaryOp::LogicalNot>;
    case NodeKind::BitwiseNot:
        return &unary<UnaryOp::BitwiseNot>;
    case NodeKind::Assign:
        return &assign;
    case NodeKind::AddAssign:
        return &compoundAssign<BinaryOp::Add>;
    case NodeKind::SubAssign:
        return &compoundAssign<BinaryOp::Subtract>;
    case NodeKind::MulAssign:
        return &compoundAssign<BinaryOp::Multiply>;
    case NodeKind::DivAssign:
        return &compoundAssign<BinaryOp::Divide>;
    case NodeKind::ModAssign:
        return &compoundAssign<BinaryOp::Remainder>;
    case NodeKind::AndAssign:
        return &compoundAssign<BinaryOp::BitAnd>;
    case NodeKind::OrAssign:
        return &compoundAssign<BinaryOp::BitOr>;
    case NodeKind::XorAssign:
        return &compoundAssign<BinaryOp::BitXor>;
    case NodeKind::ShlAssign:
        return &shiftAssign<true>;
    case NodeKind::ShrAssign:
        return &shiftAssign<false>;
    case NodeKind::PreIncrement:
        return &step<true, false>;
    case NodeKind::PreDecrement:
        return &step<false, false>;
    case NodeKind::PostIncrement:
        return &step<true, true>;
    case NodeKind::PostDecrement:
        return &step<false, true>;
    case NodeKind::Equal:
        return &binary<BinaryOp::Equal>;
    case NodeKind::NotEqual:
        return &binary<BinaryOp::NotEqual>;
    case NodeKind::Less:
        return &binary<BinaryOp::Less>;
    case NodeKind::LessEqual:
        return &binary<BinaryOp::LessEqual>;
    case NodeKind::GreaterEqual:
        return &binary<BinaryOp::GreaterEqual>;
    case NodeKind::Greater:
        return &binary<BinaryOp::Greater>;
    case NodeKind::Add:
        return &binary<BinaryOp::Add>;
    case NodeKind::Subtract:
        return &binary<BinaryOp::Subtract>;
    case NodeKind::Multiply:
        return &binary<BinaryOp::Multiply>;
    case NodeKind::Divide:
        return &binary<BinaryOp::Divide>;
    case NodeKind::Remainder:
        return &binary<BinaryOp::Remainder>;
    case NodeKind::BitwiseAnd:
        return &binary<BinaryOp::BitAnd>;
    case NodeKind::BitwiseOr:
        return &binary<BinaryOp::BitOr>;
    case NodeKind::BitwiseXor:
        return &binary<BinaryOp::BitXor>;
    case NodeKind::LogicalAnd:
        return &binary<BinaryOp::LogicalAnd>;
    case NodeKind::LogicalOr:
        return &binary<BinaryOp::LogicalOr>;
    case NodeKind::ShiftLeft:
        return &binary<BinaryOp::ShiftLeft>;
    case NodeKind::ShiftRight:
        return &binary<BinaryOp::ShiftRight>;
    case NodeKind::Call:
        return &call;
    case NodeKind::MethodCall:
        return &methodCall;
    case NodeKind::New:
        return &newObject;
    case NodeKind::Member:
        return &member;
    case NodeKind::Index:
        return &index;
    default:
        return &unexpected;
    }
}

} // namespace vorpane::script
