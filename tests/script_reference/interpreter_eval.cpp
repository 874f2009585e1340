// The handlers of statements, operators and names. Calls are in interpreter_calls.cpp.
// Each handler that can raise catches its own codes, so the message carries its node's line.
// Numbers take inline paths; everything else goes through the value operators.

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "script/script_object.h"
#include "script_reference/op_tree.h"

#include <cstdio>

namespace vorpane::script::reference {

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

bool isNumberOrNull(const ScriptValue& v)
{
    return v.kind() <= ValueKind::Float && v.kind() != ValueKind::String;
}

} // namespace

// A comparison of two numbers in names or literals, decided without making its value; -1 when
// it has to be evaluated the general way. One instance per operator, chosen when the Ops are built.
template <BinaryOp OP> int OpHandlers::compareLeaves(ScriptInterpreter& in, const Op& condition)
{
    if (in.pending())
        return -1;
    const ScriptValue* right = in.peek(*condition.child[1]);
    const ScriptValue* left = right ? in.peek(*condition.child[0]) : nullptr;
    if (!left)
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

// The step budget or the machine stack ran out.
bool ScriptInterpreter::budgetLeft()
{
    m_stepsLeft = 1;
    stop();
    return false;
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

ScriptValue OpHandlers::sequence(ScriptInterpreter& in, const Op& op)
{
    // The stop test runs between statements; the value is that of the last statement run.
    const Op* const* statement = op.list.data();
    const Op* const* last = statement + op.list.size() - 1;
    for (;; ++statement) {
        ScriptValue value = in.eval(**statement);
        if (statement == last || in.stopped())
            return materialize(std::move(value));
    }
}

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
    return in.eval(branch);
}

template <BinaryOp OP> static bool specializeIf(Op& op)
{
    if (op.child[0]->quickTest != &OpHandlers::compareLeaves<OP>)
        return false;
    op.run = &OpHandlers::ifCompare<OP>;
    return true;
}

void OpHandlers::specializeIf(Op& op)
{
    if (op.run != &ifElse)
        return;
    vorpane::script::reference::specializeIf<BinaryOp::Equal>(op)
        || vorpane::script::reference::specializeIf<BinaryOp::NotEqual>(op)
        || vorpane::script::reference::specializeIf<BinaryOp::Less>(op)
        || vorpane::script::reference::specializeIf<BinaryOp::LessEqual>(op)
        || vorpane::script::reference::specializeIf<BinaryOp::GreaterEqual>(op)
        || vorpane::script::reference::specializeIf<BinaryOp::Greater>(op);
}

ScriptValue OpHandlers::conditional(ScriptInterpreter& in, const Op& op)
{
    return in.eval(*op.child[holds(in, op, *op.child[0]) ? 1 : 2]);
}

ScriptValue OpHandlers::whileLoop(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue result;
    RunFlags& flags = in.m_flags;
    while (holds(in, op, *op.child[0])) {
        result = materialize(in.eval(*op.child[1]));
        if (flags.breakCount) {
            in.countDown(flags.breakCount);
            break;
        }
        if (flags.abort)
            break;
        if (flags.continueCount)
            in.countDown(flags.continueCount);
    }
    return result;
} catch (const ScriptError& error) {
    return failed(in, op, error);
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
        if (!quickComparison(in, *op.child[1], go))
            go = forCondition(in.read(*op.child[1], temp));
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

ScriptValue OpHandlers::returnValue(ScriptInterpreter& in, const Op& op)
{
    const Op& valueOp = *op.child[0];
    const ScriptValue* leaf = in.peek(valueOp);
    ScriptValue value = leaf ? *leaf : materialize(in.eval(valueOp));
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
template <BinaryOp OP> inline bool numericBinary(const ScriptValue& l, const ScriptValue& r, ScriptValue& out)
{
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Integer) {
        int32_t a = l.integerValue(), b = r.integerValue();
        switch (OP) {
        case BinaryOp::Add:
            out = ScriptValue(double(wrapped(uint32_t(a) + uint32_t(b))));
            return true;
        case BinaryOp::Subtract:
            out = ScriptValue(double(wrapped(uint32_t(a) - uint32_t(b))));
            return true;
        case BinaryOp::Multiply:
            out = ScriptValue(double(wrapped(uint32_t(a) * uint32_t(b))));
            return true;
        case BinaryOp::Equal:
            out = ScriptValue(int32_t(a == b));
            return true;
        case BinaryOp::NotEqual:
            out = ScriptValue(int32_t(a != b));
            return true;
        case BinaryOp::Less:
            out = ScriptValue(int32_t(a < b));
            return true;
        case BinaryOp::LessEqual:
            out = ScriptValue(int32_t(a <= b));
            return true;
        case BinaryOp::GreaterEqual:
            out = ScriptValue(int32_t(a >= b));
            return true;
        case BinaryOp::Greater:
            out = ScriptValue(int32_t(a > b));
            return true;
        case BinaryOp::Remainder:
            if (b <= 0)
                return false;
            out = ScriptValue(a % b);
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Float && (r.kind() == ValueKind::Float || r.kind() == ValueKind::Integer)) {
        double a = l.floatValue();
        double b = r.kind() == ValueKind::Float ? r.floatValue() : double(r.integerValue());
        switch (OP) {
        case BinaryOp::Add:
            out = ScriptValue(a + b);
            return true;
        case BinaryOp::Subtract:
            out = ScriptValue(a - b);
            return true;
        case BinaryOp::Multiply:
            out = ScriptValue(a * b);
            return true;
        case BinaryOp::Equal:
            out = ScriptValue(int32_t(a == b));
            return true;
        case BinaryOp::NotEqual:
            out = ScriptValue(int32_t(a != b));
            return true;
        case BinaryOp::Less:
            out = ScriptValue(int32_t(a < b));
            return true;
        case BinaryOp::LessEqual:
            out = ScriptValue(int32_t(a <= b));
            return true;
        case BinaryOp::GreaterEqual:
            out = ScriptValue(int32_t(a >= b));
            return true;
        case BinaryOp::Greater:
            out = ScriptValue(int32_t(a > b));
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Float) {
        // Only arithmetic: comparisons of an Integer convert the right side to integer.
        double a = l.integerValue(), b = r.floatValue();
        switch (OP) {
        case BinaryOp::Add:
            out = ScriptValue(a + b);
            return true;
        case BinaryOp::Subtract:
            out = ScriptValue(a - b);
            return true;
        case BinaryOp::Multiply:
            out = ScriptValue(a * b);
            return true;
        default:
            return false;
        }
    }
    return false;
}

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
    const ScriptValue* right = in.peek(*op.child[1]);
    const ScriptValue* left = right ? in.peek(*op.child[0]) : nullptr;
    if (left) {
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
    return store(in, op, value);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

template <BinaryOp OP> static bool fuseAssignmentOf(Op& op)
{
    OpHandler valueRun = op.child[1]->run;
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
    fuseAssignmentOf<BinaryOp::Add>(op) || fuseAssignmentOf<BinaryOp::Subtract>(op)
        || fuseAssignmentOf<BinaryOp::Multiply>(op) || fuseAssignmentOf<BinaryOp::Remainder>(op);
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

// --- Specialised handlers ----------------------------------------------------------------------

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

} // namespace vorpane::script::reference
