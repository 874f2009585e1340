#pragma once
// The interpreter's working form of a syntax tree: one Op per node, made once before the run.
// An Op holds the handler chosen for its node's kind (and operator), its children as Ops, and
// what the node needs at run time (a literal's value, an identifier's name slot, the function a
// call names). Statement lists and declaration lists are flattened into vectors so that walking
// them never recurses. Internal to the interpreter.

#include "script/interpreter.h"

#include <cstring>
#include <new>
#include <vector>

namespace vorpane::script {

struct Op;
using OpHandler = ScriptValue (*)(ScriptInterpreter&, const Op&);
// A condition decided in place: 1 or 0, or -1 when it has to be evaluated the general way.
using QuickTest = int (*)(ScriptInterpreter&, const Op&);
// A statement run whole, entry checks included: gives the storage its value is a copy of (a
// "return" may have stopped the run then). None when nothing has been done and the statement
// has to be evaluated.
using OpExec = ScriptValue* (*)(ScriptInterpreter&, const Op&);

// A node evaluated straight into out (a fresh value or a writable number), entry checks and
// steps included, when its value is a number: an operator over leaves and such operators, or an
// element that is there already. False with nothing done otherwise.
using OpCompute = bool (*)(ScriptInterpreter&, const Op&, ScriptValue& out);

// Where a fused handler finds a name or literal without a lookup: at *base + offset, where base
// is the frame's pointer to its innermost call's parameters or locals, a global's cell (none
// until it is declared), or a literal's constantAddress.
struct OperandPlace {
    const void* const* base;
    size_t offset;
};

[[gnu::always_inline]] inline ScriptValue* valueAt(const OperandPlace& place)
{
    const char* base;
    std::memcpy(&base, place.base, sizeof base);
    return reinterpret_cast<ScriptValue*>(const_cast<char*>(base) + place.offset);
}

enum class OpLeaf : uint8_t {
    None, // must be run through eval
    Constant, // a literal (or a missing node): its value is `constant`
    Name, // an identifier: `name` says where to look
};

struct Op {
    // Not "= default": the places are left unset rather than the whole record zeroed first, as
    // a defaulted constructor would be when the ops are made; they are read only once set.
    Op() { }
    // Ops point into one another and into themselves: they never move.
    Op(const Op&) = delete;
    Op& operator=(const Op&) = delete;

    OpHandler run = nullptr;
    const SyntaxNode* node = nullptr; // none for a missing child
    const Op* child[4] = {};
    std::vector<const Op*> list; // arguments, statements of a sequence, declarators
    NameSlot* name = nullptr;
    ScriptValue constant;
    const void* constantAddress = &constant; // for OperandPlace
    FunctionFrame* function = nullptr; // the user function a call names
    OpLeaf leaf = OpLeaf::None;
    OpHandler guardedRun = nullptr; // the handler behind OpHandlers::guarded
    QuickTest quickTest = nullptr; // set for a comparison of two names or literals
    OpExec exec = nullptr; // for some statements
    // Set when every operand of the node (target, left, right) is a literal, a parameter, a
    // local the body declares first or a global.
    bool placed = false;
    OperandPlace place[3]; // set with placed, or for a compute's leaf operands
    OpCompute compute = nullptr; // see OpCompute
    OpHandler fallback = nullptr; // the general handler behind a fused one
    int8_t computeDepth = -2; // prepareCompute's answer; -2 until asked
    // A call of a user function: the parameters whose values the call's record takes over from
    // the innermost running call (bit i for parameter i; all when there are more than 64).
    uint64_t inheritedParameters = ~uint64_t(0);
    // A call with an argument for every parameter, each a name, a literal or a computed operator
    // that reads none of the parameters before it: the arguments can be evaluated before the
    // record takes the parameters' place, and nothing has to be taken over.
    bool argumentsFirst = false;
};

// The handlers, one per kind of node; friends of the interpreter.
struct OpHandlers {
    static OpHandler handlerFor(NodeKind kind);
    // Picks a faster handler for some shapes of operands, once the children are linked.
    static void specialize(Op& op);

    static ScriptValue constant(ScriptInterpreter& in, const Op& op);
    static ScriptValue identifier(ScriptInterpreter& in, const Op& op);
    static ScriptValue sequence(ScriptInterpreter& in, const Op& op);
    static ScriptValue varList(ScriptInterpreter& in, const Op& op);
    static ScriptValue declareLocals(ScriptInterpreter& in, const Op& op);
    // Whether a declaration list only declares locals without initial values; once names are
    // resolved.
    static bool declaresLocalsOnly(const Op& op);
    static ScriptValue ifElse(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP> static ScriptValue ifCompare(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP> static ScriptValue* execIfCompare(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execIfElse(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execReturn(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execAssignLeaf(ScriptInterpreter& in, const Op& op);
    // Gives an "if" of a comparison of leaves its own handler; once conditions are specialized.
    static void specializeIf(Op& op);
    static ScriptValue forLoop(ScriptInterpreter& in, const Op& op);
    static ScriptValue whileLoop(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP, bool QUICK> static ScriptValue whileLoopOf(ScriptInterpreter& in, const Op& op);
    static ScriptValue returnValue(ScriptInterpreter& in, const Op& op);
    static ScriptValue breakLoop(ScriptInterpreter& in, const Op& op);
    static ScriptValue continueLoop(ScriptInterpreter& in, const Op& op);
    static ScriptValue comma(ScriptInterpreter& in, const Op& op);
    static ScriptValue conditional(ScriptInterpreter& in, const Op& op);
    template <UnaryOp OP> static ScriptValue unary(ScriptInterpreter& in, const Op& op);
    template <bool UP, bool POST> static ScriptValue step(ScriptInterpreter& in, const Op& op);
    template <bool UP> static bool stepInPlace(ScriptInterpreter& in, const Op& operand);
    static void runForStep(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP> static ScriptValue binary(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP> static ScriptValue binaryOfLeaves(ScriptInterpreter& in, const Op& op);
    static ScriptValue assign(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP, bool LEAVES>
    static ScriptValue assignOfBinary(ScriptInterpreter& in, const Op& op);
    static ScriptValue assignOfCall(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execAssignCall(ScriptInterpreter& in, const Op& op);
    static ScriptValue addToName(ScriptInterpreter& in, const Op& op);
    [[gnu::always_inline]] static inline ScriptValue addRightToName(
        ScriptInterpreter& in, const Op& op, const ScriptValue& right, ScriptValue& rightTemp);
    static ScriptValue* execAddCallToName(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP, bool SAME_NAME>
    static ScriptValue assignNameOfLeaves(ScriptInterpreter& in, const Op& op);
    template <BinaryOp OP>
    static ScriptValue* computeIntoName(ScriptInterpreter& in, const Op& op, uint64_t steps);
    template <BinaryOp OP> static ScriptValue* execAssignNameOfLeaves(ScriptInterpreter& in, const Op& op);
    // Once names are resolved: the places of operands, and the handlers that use them.
    static void placeOperands(ScriptInterpreter& in, Op& op);
    template <BinaryOp OP> static bool computeLeaves(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    template <BinaryOp OP> static bool computeBinary(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    template <BinaryOp OP, BinaryOp INNER, bool INNER_LEFT>
    static bool computeOverLeaves(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    template <BinaryOp OP, bool ELEMENT_LEFT>
    static bool computeOverElement(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    static bool computeNegate(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    static bool computeElement(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    // Gives an operator over leaves and such operators its compute; the depth of the operators
    // below it, or -1 when it gets none.
    static int prepareCompute(ScriptInterpreter& in, Op& op, int levelsLeft = kMaxComputeDepth);
    // Deep enough for any formula a script writes; deeper ones keep the guarded evaluation.
    static constexpr int kMaxComputeDepth = 12;
    template <uint64_t STEPS> static ScriptValue* computeIntoTarget(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execAssignComputed(ScriptInterpreter& in, const Op& op);
    static ScriptValue assignComputed(ScriptInterpreter& in, const Op& op);
    // Gives «x = value» with a computed value its handlers; once computes are prepared.
    static void fuseComputedAssignment(ScriptInterpreter& in, Op& op);
    // Which parameters a call has to take over; once names are resolved. (pending: room to work)
    static void findInheritedParameters(Op& op, std::vector<const Op*>& pending);
    // Whether a call may evaluate its arguments first (see Op::argumentsFirst); once computes
    // are prepared.
    static void markArgumentsFirst(Op& op, std::vector<const Op*>& pending);
    // An argument or returned value evaluated into out, which holds nothing to release.
    static void evaluateInto(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    static ScriptValue runSequence(ScriptInterpreter& in, const Op& op);
    // As runSequence, the value written into out.
    static void runSequenceInto(ScriptInterpreter& in, const Op& op, ScriptValue& out);
    // Where the value of the sequence is: the storage its last statement gave, or held.
    static const ScriptValue* runSequenceLast(ScriptInterpreter& in, const Op& op, ScriptValue& held);
    static ScriptValue* appendInPlace(
        ScriptInterpreter& in, const Op& op, const ScriptValue& right, bool& done);
    static ScriptValue store(ScriptInterpreter& in, const Op& op, const ScriptValue& value);
    // Lets an assignment run its operator inline; once every Op has its handler.
    static void fuseAssignment(Op& op);
    template <BinaryOp OP> static ScriptValue compoundAssign(ScriptInterpreter& in, const Op& op);
    template <bool LEFT> static ScriptValue shiftAssign(ScriptInterpreter& in, const Op& op);
    static ScriptValue member(ScriptInterpreter& in, const Op& op);
    static ScriptValue index(ScriptInterpreter& in, const Op& op);
    static ScriptValue indexOfLeaves(ScriptInterpreter& in, const Op& op);
    static ScriptValue assignElementOfLeaves(ScriptInterpreter& in, const Op& op);
    static ScriptValue* execAssignElement(ScriptInterpreter& in, const Op& op);
    static ScriptValue call(ScriptInterpreter& in, const Op& op);
    static ScriptValue methodCall(ScriptInterpreter& in, const Op& op);
    static ScriptValue newObject(ScriptInterpreter& in, const Op& op);
    static ScriptValue unexpected(ScriptInterpreter& in, const Op& op);
    // Checks the machine stack, then runs the node's own handler.
    static ScriptValue guarded(ScriptInterpreter& in, const Op& op);

    static ScriptValue failed(ScriptInterpreter& in, const Op& op, const ScriptError& error);
    [[gnu::noinline]] static bool test(ScriptInterpreter& in, const Op& owner, const Op& condition);
    static bool quickComparison(ScriptInterpreter& in, const Op& condition, bool& result);
    template <BinaryOp OP> static int compareLeaves(ScriptInterpreter& in, const Op& condition);
    static ScriptValue target(ScriptInterpreter& in, const Op& op);
    static ScriptValue scratch(ScriptInterpreter& in);
    [[gnu::always_inline]] static inline ScriptValue callUserFunction(
        ScriptInterpreter& in, const Op& op, FunctionFrame& function);
    [[gnu::noinline]] static void inheritParameters(
        Variable* record, const Variable* outer, size_t count, uint64_t inherited);
    [[gnu::cold, gnu::noinline]] static void reportArgumentCount(
        ScriptInterpreter& in, const Op& op, size_t wanted);
    static ScriptValue callLibraryFunction(ScriptInterpreter& in, const Op& op);
    // The call handler's work (call_inline.h).
    [[gnu::always_inline]] static inline ScriptValue callInline(ScriptInterpreter& in, const Op& op);
    static void reportCallStatus(ScriptInterpreter& in, const Op& op, int status, const std::string& name);
};

// A value that may outlive the node that made it: a reference is replaced by a copy of what it
// leads to, as assignment would store it.
inline ScriptValue materialize(ScriptValue&& value)
{
    if (value.kind() != ValueKind::Reference)
        return std::move(value);
    return ScriptValue(value.deref());
}

// Every handler that can raise catches the codes of its own node (a function try block), so an
// error is reported with the line of the node that raised it.
// Handlers run only after their node has passed these checks, so nothing is pending when a
// handler starts: it may peek at leaves before it evaluates anything.
[[gnu::always_inline]] inline bool ScriptInterpreter::enter(const Op& op)
{
    if (pending()) [[unlikely]] {
        if (!enterInterrupted(op.node))
            return false;
    }
    // The countdown to the next poll of the break key (stepsRanOut) and the step budget.
    if (--m_stepsLeft == 0) [[unlikely]] {
        if (!stepsRanOut())
            return false;
    }
    return true;
}

[[gnu::always_inline]] inline ScriptValue ScriptInterpreter::eval(const Op& op)
{
    if (!enter(op))
        return ScriptValue();
    return op.run(*this, op);
}

// An operand's value, read in place from a variable or literal when nothing is pending, else
// evaluated into temp. A variable that holds a reference itself is left to eval, so that the
// operators see the same chain of references either way.
// A leaf operand's value in place, or none when it has to be evaluated. Only while nothing is
// pending.
[[gnu::always_inline]] inline const ScriptValue* ScriptInterpreter::peek(const Op& op)
{
    if (op.leaf == OpLeaf::Constant)
        return &op.constant;
    if (op.leaf == OpLeaf::Name) {
        const ScriptValue* v = lookup(*op.name);
        if (v && v->kind() != ValueKind::Reference)
            return v;
    }
    return nullptr;
}

[[gnu::always_inline]] inline const ScriptValue& ScriptInterpreter::read(const Op& op, ScriptValue& temp)
{
    if (op.leaf != OpLeaf::None && !pending()) {
        if (op.leaf == OpLeaf::Constant)
            return op.constant;
        ScriptValue* v = lookup(*op.name);
        if (v && v->kind() != ValueKind::Reference)
            return *v;
    }
    // The result is built in temp rather than moved into it; temp holds Integer 0 meanwhile, so
    // a failure that unwinds through here leaves nothing to free twice.
    temp.reset();
    return *new (&temp) ScriptValue(eval(op));
}

[[gnu::always_inline]] inline void OpHandlers::evaluateInto(
    ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (op.leaf != OpLeaf::None && !in.pending()) {
        if (const ScriptValue* leaf = in.peek(op)) {
            out = *leaf;
            return;
        }
    }
    if (op.compute && op.compute(in, op, out))
        return;
    out = materialize(in.eval(op));
}

[[gnu::always_inline]] inline const ScriptValue* OpHandlers::runSequenceLast(
    ScriptInterpreter& in, const Op& op, ScriptValue& held)
{
    // The stop test runs between statements; the value is that of the last statement run: the
    // storage its exec gives, or its value, which held takes.
    const Op* const* statement = op.list.data();
    const Op* const* last = statement + op.list.size() - 1;
    for (;; ++statement) {
        const Op& s = **statement;
        if (s.exec) {
            if (const ScriptValue* storage = s.exec(in, s)) {
                if (statement == last || in.stopped())
                    return storage;
                continue;
            }
        }
        ScriptValue value = in.eval(s);
        if (statement == last || in.stopped()) {
            held = materialize(std::move(value));
            return &held;
        }
    }
}

[[gnu::always_inline]] inline void OpHandlers::runSequenceInto(
    ScriptInterpreter& in, const Op& op, ScriptValue& out)
{
    if (const ScriptValue* last = runSequenceLast(in, op, out); last != &out)
        out = *last;
}

[[gnu::always_inline]] inline ScriptValue OpHandlers::runSequence(ScriptInterpreter& in, const Op& op)
{
    ScriptValue value;
    runSequenceInto(in, op, value);
    return value;
}

} // namespace vorpane::script
