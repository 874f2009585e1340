#pragma once
// The interpreter's working form of a syntax tree: one Op per node, made once before the run.
// An Op holds the handler chosen for its node's kind (and operator), its children as Ops, and
// what the node needs at run time (a literal's value, an identifier's name slot, the function a
// call names). Statement lists and declaration lists are flattened into vectors so that walking
// them never recurses. Internal to the interpreter.

#include "script_reference/interpreter.h"

#include <new>
#include <vector>

namespace vorpane::script::reference {

struct Op;
using OpHandler = ScriptValue (*)(ScriptInterpreter&, const Op&);
// A condition decided in place: 1 or 0, or -1 when it has to be evaluated the general way.
using QuickTest = int (*)(ScriptInterpreter&, const Op&);

enum class OpLeaf : uint8_t {
    None, // must be run through eval
    Constant, // a literal (or a missing node): its value is `constant`
    Name, // an identifier: `name` says where to look
};

struct Op {
    OpHandler run = nullptr;
    const SyntaxNode* node = nullptr; // none for a missing child
    const Op* child[4] = {};
    std::vector<const Op*> list; // arguments, statements of a sequence, declarators
    NameSlot* name = nullptr;
    ScriptValue constant;
    FunctionFrame* function = nullptr; // the user function a call names
    OpLeaf leaf = OpLeaf::None;
    OpHandler guardedRun = nullptr; // the handler behind OpHandlers::guarded
    QuickTest quickTest = nullptr; // set for a comparison of two names or literals
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
    // Gives an "if" of a comparison of leaves its own handler; once conditions are specialized.
    static void specializeIf(Op& op);
    static ScriptValue forLoop(ScriptInterpreter& in, const Op& op);
    static ScriptValue whileLoop(ScriptInterpreter& in, const Op& op);
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
    static ScriptValue store(ScriptInterpreter& in, const Op& op, const ScriptValue& value);
    // Lets an assignment run its operator inline; once every Op has its handler.
    static void fuseAssignment(Op& op);
    template <BinaryOp OP> static ScriptValue compoundAssign(ScriptInterpreter& in, const Op& op);
    template <bool LEFT> static ScriptValue shiftAssign(ScriptInterpreter& in, const Op& op);
    static ScriptValue member(ScriptInterpreter& in, const Op& op);
    static ScriptValue index(ScriptInterpreter& in, const Op& op);
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
    [[gnu::cold, gnu::noinline]] static void reportArgumentCount(
        ScriptInterpreter& in, const Op& op, size_t wanted);
    static ScriptValue callLibraryFunction(ScriptInterpreter& in, const Op& op, const std::string& name);
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
    if (--m_stepsLeft == 0) [[unlikely]] {
        if (!budgetLeft())
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

} // namespace vorpane::script::reference
