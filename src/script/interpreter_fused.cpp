// The fused tier: several nodes evaluated as one, numbers computed in place.
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

#include "script/call_inline.h"
#include "script/interpreter_eval_inline.h"
#include "script/script_object.h"

#include <algorithm>

namespace vorpane::script {

// --- Computes ---------------------------------------------------------------------------------

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

// --- Fused assignments ------------------------------------------------------------------------

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

} // namespace vorpane::script
