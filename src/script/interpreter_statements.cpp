// The statement tier: what runs the other two.
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

#include "script/interpreter_eval_inline.h"

namespace vorpane::script {

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

// --- Assignment -------------------------------------------------------------------------------

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

ScriptValue OpHandlers::assign(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue valueTemp;
    return store(in, op, in.read(*op.child[1], valueTemp));
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// An assignment of an arithmetic operator's result: the operator's handler runs inline (its node
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

// --- Calls ------------------------------------------------------------------------------------

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
