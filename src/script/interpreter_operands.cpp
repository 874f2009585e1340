// The operand tier: what a value is read or made from, and the arithmetic on it.
// The evaluator is in three tiers, one file each:
// - interpreter_operands.cpp: the entry checks and error reports, leaves, unary operators and
//   steps, members and elements, and the first specialization of operators over leaves;
// - interpreter_fused.cpp: superinstructions that do the work of several nodes at once, and the
//   passes that choose them once names are resolved;
// - interpreter_statements.cpp: statements, loops, conditions, plain assignments, the statement
//   runs of calls, and the handler of each kind of node.
// The tiers meet through the handler pointers of the Ops (run, exec, compute), chosen when the
// Ops are built; a fused handler that cannot decide leaves the node, with nothing done, to the
// general handler of another tier. What they share inline is in interpreter_eval_inline.h, so
// that a hot path is inlined in every tier as it was in one file. Calls are in
// interpreter_calls.cpp. A handler that can raise catches its own codes, so the message carries
// its node's line.

#include "platform/break_key.h"
#include "platform/ui_services.h"
#include "script/interpreter_eval_inline.h"
#include "script/script_object.h"

#include <algorithm>
#include <cstdio>

namespace vorpane::script {

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

// --- Operators --------------------------------------------------------------------------------

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

// Compiled here once; the other tiers take their addresses (interpreter_eval_inline.h).
template ScriptValue OpHandlers::unary<UnaryOp::Negate>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::unary<UnaryOp::LogicalNot>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::unary<UnaryOp::BitwiseNot>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::step<true, true>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::step<true, false>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::step<false, true>(ScriptInterpreter&, const Op&);
template ScriptValue OpHandlers::step<false, false>(ScriptInterpreter&, const Op&);

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
    case NodeKind::Divide:
        op.run = &binaryOfLeaves<BinaryOp::Divide>;
        break;
    default:
        break;
    }
}

} // namespace vorpane::script
