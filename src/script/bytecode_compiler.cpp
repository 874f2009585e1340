// The compiler from the walker's prepared Ops to bytecode. Control flow, the variables of calls,
// arithmetic, comparisons and calls of user functions become instructions; any other expression
// becomes one Evaluate instruction, which the tree walker runs on the same variables. A function
// the compiler cannot take whole (a "break" outside a loop, a loop as its last statement) is
// called through the walker; a top level it cannot take leaves the whole run to the walker.

#include "script/bytecode.h"
#include "script/op_tree.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace vorpane::script {

namespace {

struct Unsupported { };

bool isKind(const Op* op, NodeKind kind) { return op && op->node && op->node->kind == kind; }
bool isComparison(const Op* op)
{
    return op && op->node && op->node->kind >= NodeKind::Equal && op->node->kind <= NodeKind::Greater;
}
// The operators other than comparisons: arithmetic, bitwise, logical ("&&" and "||" evaluate
// both operands) and shifts.
bool isArithmetic(const Op* op)
{
    return op && op->node && op->node->kind >= NodeKind::Add && op->node->kind <= NodeKind::ShiftRight;
}

BinaryOp binaryOpOf(NodeKind kind)
{
    switch (kind) {
    case NodeKind::Add:
        return BinaryOp::Add;
    case NodeKind::Subtract:
        return BinaryOp::Subtract;
    case NodeKind::Multiply:
        return BinaryOp::Multiply;
    case NodeKind::Divide:
        return BinaryOp::Divide;
    case NodeKind::Remainder:
        return BinaryOp::Remainder;
    case NodeKind::BitwiseAnd:
        return BinaryOp::BitAnd;
    case NodeKind::BitwiseOr:
        return BinaryOp::BitOr;
    case NodeKind::BitwiseXor:
        return BinaryOp::BitXor;
    case NodeKind::LogicalAnd:
        return BinaryOp::LogicalAnd;
    case NodeKind::LogicalOr:
        return BinaryOp::LogicalOr;
    case NodeKind::ShiftLeft:
        return BinaryOp::ShiftLeft;
    case NodeKind::ShiftRight:
        return BinaryOp::ShiftRight;
    case NodeKind::Equal:
        return BinaryOp::Equal;
    case NodeKind::NotEqual:
        return BinaryOp::NotEqual;
    case NodeKind::Less:
        return BinaryOp::Less;
    case NodeKind::LessEqual:
        return BinaryOp::LessEqual;
    case NodeKind::GreaterEqual:
        return BinaryOp::GreaterEqual;
    case NodeKind::Greater:
        return BinaryOp::Greater;
    default:
        throw Unsupported();
    }
}

// Whether a "return" (with returns), or a "break" or "continue" outside a loop of its own, is
// below the Op. An explicit stack: trees may be deeper than the machine stack allows.
bool leavesStatement(const Op* root, bool returns = true)
{
    std::vector<std::pair<const Op*, bool>> pending { { root, false } };
    while (!pending.empty()) {
        auto [op, inLoop] = pending.back();
        pending.pop_back();
        if (!op || !op->node)
            continue;
        const NodeKind kind = op->node->kind;
        if ((returns && kind == NodeKind::Return)
            || (!inLoop && (kind == NodeKind::Break || kind == NodeKind::Continue)))
            return true;
        const bool loop = inLoop || kind == NodeKind::While || kind == NodeKind::For;
        for (const Op* child : op->child)
            pending.emplace_back(child, loop);
        for (const Op* item : op->list)
            pending.emplace_back(item, loop);
    }
    return false;
}

// Nesting the compiler follows itself; below it, an expression is left to the walker (which
// guards the machine stack) and a statement makes its function the walker's.
constexpr int kMaxNesting = 48;

} // namespace

class BytecodeCompiler {
public:
    explicit BytecodeCompiler(ScriptInterpreter& in)
        : m_in(in)
    {
    }

    std::unique_ptr<BytecodeProgram> compile()
    {
        const Op* top = static_cast<const Op*>(m_in.m_tree->program->cacheOwner);
        // A "break" or "continue" outside a loop leaves its call and stops the caller's loop (the
        // walker's counts carry it up): such programs are left to the walker whole.
        if (leavesStatement(top, false))
            return nullptr;
        for (const auto& frame : m_in.m_frames)
            if (leavesStatement(frame->body, false))
                return nullptr;
        auto program = std::make_unique<BytecodeProgram>();
        const size_t count = m_in.m_frames.size();
        program->functions.resize(count + 1);
        for (size_t i = 0; i < count; ++i)
            m_index.emplace(m_in.m_frames[i].get(), uint16_t(i + 1));
        // Functions assumed compiled until they fail; a failure makes the callers that counted
        // on it compile again, calling it through the walker.
        m_compiled.assign(count + 1, count < kConstantOperand);
        if (count >= kConstantOperand)
            return nullptr;
        for (bool changed = true; changed;) {
            changed = false;
            for (size_t i = 0; i < count; ++i) {
                if (!m_compiled[i + 1])
                    continue;
                BytecodeFunction& f = program->functions[i + 1];
                f = BytecodeFunction();
                if (!compileFunction(f, *m_in.m_frames[i])) {
                    m_compiled[i + 1] = false;
                    changed = true;
                }
            }
        }
        BytecodeFunction& main = program->functions[0];
        if (!compileTopLevel(main, top))
            return nullptr;
        for (size_t i = 0; i <= count; ++i)
            if (m_compiled[i])
                program->largestFrame = std::max(program->largestFrame, program->functions[i].frameSize);
        return program;
    }

private:
    struct Nested {
        explicit Nested(int& depth)
            : m_depth(depth)
        {
            ++m_depth;
        }
        ~Nested() { --m_depth; }
        int& m_depth;
    };

    struct Loop {
        std::vector<size_t> breaks;
        std::vector<size_t> continues;
    };

    // Step counts follow the walker: every node it enters costs one step, spent in the order it
    // enters them (a node before its operands); a name or literal read as an operand costs none.
    bool compileFunction(BytecodeFunction& out, FunctionFrame& frame)
    {
        start(out, &frame);
        try {
            if (!frame.body || !frame.body->node)
                throw Unsupported();
            // A sequence is entered, then its statements; a lone statement is entered once.
            if (isKind(frame.body, NodeKind::Sequence))
                charge();
            std::vector<const Op*> statements = listOf(frame.body);
            if (statements.empty())
                throw Unsupported();
            for (size_t i = 0; i + 1 < statements.size(); ++i)
                statement(statements[i]);
            const Op* last = statements.back();
            if (isKind(last, NodeKind::Return)) {
                statement(last);
            } else {
                const uint16_t value = temporary();
                tail(last, value);
                emit(Opcode::Return, last, value);
            }
        } catch (const Unsupported&) {
            return false;
        }
        return true;
    }

    bool compileTopLevel(BytecodeFunction& out, const Op* program)
    {
        start(out, nullptr);
        try {
            if (!program->node)
                throw Unsupported();
            if (isKind(program, NodeKind::Sequence))
                charge();
            std::vector<const Op*> statements = listOf(program);
            if (statements.empty())
                throw Unsupported();
            for (size_t i = 0; i + 1 < statements.size(); ++i)
                statement(statements[i]);
            const uint16_t value = temporary();
            tail(statements.back(), value);
            emit(Opcode::End, statements.back(), value);
        } catch (const Unsupported&) {
            return false;
        }
        return true;
    }

    void start(BytecodeFunction& out, FunctionFrame* frame)
    {
        m_out = &out;
        m_frame = frame;
        m_loops.clear();
        m_steps = 0;
        m_nesting = 0;
        out.frame = frame;
        const size_t record = frame ? frame->recordSize : 0;
        if (record >= kConstantOperand / 2)
            throw Unsupported();
        out.parameterCount = uint16_t(frame ? frame->parameterCount : 0);
        out.recordSize = uint16_t(record);
        out.frameSize = uint16_t(record);
        m_top = uint32_t(record);
    }

    // The statements a sequence runs, as its Op lists them.
    static std::vector<const Op*> listOf(const Op* op)
    {
        if (isKind(op, NodeKind::Sequence))
            return op->list;
        return { op };
    }

    void grow(uint32_t count)
    {
        m_top += count;
        if (m_top >= kConstantOperand / 2)
            throw Unsupported();
        if (m_top > m_out->frameSize)
            m_out->frameSize = uint16_t(m_top);
    }
    uint16_t temporary()
    {
        const auto r = uint16_t(m_top);
        grow(1);
        return r;
    }

    void charge(uint32_t steps = 1) { m_steps += steps; }

    size_t emit(Opcode op, const Op* at, uint16_t a = 0, uint16_t b = 0, uint16_t c = 0, uint8_t sub = 0)
    {
        if (m_out->code.size() >= 0x7FFFFFFF)
            throw Unsupported();
        while (m_steps > 0xFFFF) {
            m_out->code.push_back(Instruction { Opcode::Nop, 0, 0xFFFF });
            m_out->ops.push_back(at);
            m_steps -= 0xFFFF;
        }
        if (op == Opcode::Evaluate || op == Opcode::LoadGlobal || op == Opcode::GetElement
            || op == Opcode::SetElement) // these fall back to the walker
            m_out->pointsFrame = true;
        m_out->code.push_back(Instruction { op, sub, uint16_t(m_steps), a, b, c });
        m_out->ops.push_back(at);
        m_steps = 0;
        return m_out->code.size() - 1;
    }
    // A point that jumps reach: the steps owed by the way in are spent before it.
    uint32_t label(const Op* at)
    {
        if (m_steps)
            emit(Opcode::Nop, at);
        return uint32_t(m_out->code.size());
    }
    void patch(size_t at, uint32_t to)
    {
        Instruction& jump = m_out->code[at];
        const int64_t offset = int64_t(to) - int64_t(at);
        if (!jumpsToA(jump.op)) {
            jump.setOffset(int32_t(offset));
            return;
        }
        if (offset < INT16_MIN || offset > INT16_MAX)
            throw Unsupported();
        jump.a = uint16_t(int16_t(offset));
    }

    uint16_t constant(const ScriptValue& value)
    {
        m_out->constants.push_back(value);
        if (m_out->constants.size() >= kConstantOperand)
            throw Unsupported();
        return uint16_t(m_out->constants.size() - 1);
    }

    // The register of a name the bytecode holds itself: a parameter, or a local the body declares
    // first. None (-1) for a global or a local declared later, which are looked up at run time.
    int variable(const Op* op) const
    {
        if (!m_frame || !op || !op->name)
            return -1;
        const NameSlot& slot = *op->name;
        if (slot.frame != m_frame)
            return -1;
        if (slot.place == NamePlace::Parameter)
            return slot.index;
        if (slot.place == NamePlace::LeadingLocal)
            return int(m_frame->parameterCount) + slot.index;
        return -1;
    }

    // The register that holds the operand's value: a variable in place, a constant (with
    // literal), else a fresh temporary.
    // With keep, the operand is read when the operator runs, as the walker reads the reference
    // an operand gives (a name, an assignment, "++x", an element): the other operand, evaluated
    // after it, may change it.
    uint16_t operand(const Op* op, bool literal = false, bool keep = false)
    {
        if (literal && plainLiteral(op))
            return uint16_t(kConstantOperand | constant(op->constant));
        if (literal && negatedNumber(op))
            return uint16_t(kConstantOperand | negated(op));
        if (int r = nameRegister(op); r >= 0)
            return uint16_t(r);
        if (keep && op->node) {
            const NodeKind kind = op->node->kind;
            if ((kind == NodeKind::Assign || kind == NodeKind::PreIncrement || kind == NodeKind::PreDecrement)
                && variable(op->child[0]) >= 0) {
                const auto r = uint16_t(variable(op->child[0]));
                const uint32_t mark = m_top;
                if (kind == NodeKind::Assign)
                    assign(op, r);
                else
                    expression(op, r);
                m_top = mark;
                return r;
            }
        }
        const uint16_t r = temporary();
        expression(op, r, keep);
        return r;
    }

    // The register of a name the bytecode holds; -1 for any other Op.
    int nameRegister(const Op* op) const { return op->leaf == OpLeaf::Name ? variable(op) : -1; }
    // A literal an instruction may take as a constant operand: any but a text.
    static bool plainLiteral(const Op* op)
    {
        return op->leaf == OpLeaf::Constant && op->constant.kind() != ValueKind::String;
    }
    // Whether leafOperand() takes the Op.
    bool isLeafOperand(const Op* op) const { return plainLiteral(op) || nameRegister(op) >= 0; }
    // The register of a name the bytecode holds, or the constant operand of a plain literal.
    uint16_t leafOperand(const Op* op)
    {
        return plainLiteral(op) ? uint16_t(kConstantOperand | constant(op->constant))
                                : uint16_t(nameRegister(op));
    }

    // «-n» with n a number literal: its value is known before the run.
    static bool negatedNumber(const Op* op)
    {
        if (!isKind(op, NodeKind::Negate) || op->child[0]->leaf != OpLeaf::Constant)
            return false;
        const ValueKind kind = op->child[0]->constant.kind();
        return kind == ValueKind::Integer || kind == ValueKind::Float;
    }
    // The constant of «-n», its node's step charged as the walker spends it.
    uint16_t negated(const Op* op)
    {
        charge();
        return constant(unaryOperation(UnaryOp::Negate, op->child[0]->constant));
    }

    // Whether evaluating the Op changes nothing another operand could read.
    static bool pure(const Op* op)
    {
        if (op->leaf != OpLeaf::None)
            return true;
        if (!isArithmetic(op) && !isComparison(op) && !isKind(op, NodeKind::Negate))
            return false;
        return pure(op->child[0]) && (isKind(op, NodeKind::Negate) || pure(op->child[1]));
    }

    // The Op's value into the register, read as an operand is read (a name or literal costs no
    // step).
    void expression(const Op* op, uint16_t into, bool keep = false)
    {
        const uint8_t keeping = keep ? kKeepReference : 0;
        if (!op)
            throw Unsupported();
        if (m_nesting >= kMaxNesting && op->leaf == OpLeaf::None) {
            emit(Opcode::Evaluate, op, into, 0, 0, keeping);
            return;
        }
        const Nested nested(m_nesting);
        const uint32_t mark = m_top;
        const NodeKind kind = op->node ? op->node->kind : NodeKind::Comma;
        if (op->leaf == OpLeaf::Constant) {
            emit(Opcode::LoadConstant, op, into, constant(op->constant));
        } else if (op->leaf == OpLeaf::Name) {
            if (int r = variable(op); r >= 0)
                emit(Opcode::Move, op, into, uint16_t(r));
            else if (op->name->place == NamePlace::Global)
                emit(Opcode::LoadGlobal, op, into, 0, 0, keeping);
            else
                emit(Opcode::Evaluate, op, into, 0, 0, uint8_t(kReadAsOperand | keeping));
        } else if (negatedNumber(op)) {
            emit(Opcode::LoadConstant, op, into, negated(op));
        } else if (kind == NodeKind::Negate || kind == NodeKind::LogicalNot || kind == NodeKind::BitwiseNot) {
            charge();
            const uint16_t r = operand(op->child[0]);
            const UnaryOp unary = kind == NodeKind::Negate ? UnaryOp::Negate
                : kind == NodeKind::LogicalNot             ? UnaryOp::LogicalNot
                                                           : UnaryOp::BitwiseNot;
            emit(Opcode::Unary, op, into, r, 0, uint8_t(unary));
        } else if (kind == NodeKind::Assign && variable(op->child[0]) >= 0) {
            assign(op, into);
        } else if ((kind >= NodeKind::PreIncrement && kind <= NodeKind::PostDecrement)
            && variable(op->child[0]) >= 0) {
            charge();
            const bool up = kind == NodeKind::PreIncrement || kind == NodeKind::PostIncrement;
            const bool post = kind == NodeKind::PostIncrement || kind == NodeKind::PostDecrement;
            emit(Opcode::Step, op, into, uint16_t(variable(op->child[0])), 0,
                uint8_t((up ? 1 : 0) | (post ? 2 : 0)));
        } else if (kind == NodeKind::Call && nativeCall(op)) {
            // The arguments start at the register the value goes to when that is the newest
            // temporary: the value lands there, with no move after the call.
            if (into >= m_out->recordSize && uint32_t(into) + 1 == m_top)
                m_top = into;
            call(op, into);
        } else if (isComparison(op) || isArithmetic(op)) {
            binary(op, op, into, 0);
        } else if (!keep && op->run == &OpHandlers::indexOfLeaves && nameRegister(op->child[0]) >= 0
            && isLeafOperand(op->child[1])) {
            emit(Opcode::GetElement, op, into, uint16_t(nameRegister(op->child[0])),
                leafOperand(op->child[1]));
        } else {
            emit(Opcode::Evaluate, op, into, 0, 0, keeping);
        }
        m_top = mark;
    }

    // The Op evaluated as a statement is: every node costs a step, a name or literal too.
    void evaluated(const Op* op, uint16_t into, bool unused = false)
    {
        if (op->leaf != OpLeaf::None)
            emit(Opcode::Evaluate, op, into);
        else if (unused && elementStore(op))
            return;
        else if (unused && !isNative(op))
            emit(Opcode::Evaluate, op, into, 0, 0, kValueUnused);
        else
            expression(op, into);
    }

    // «a[i] = v» as a statement, with a a name the bytecode holds and i and v such names or
    // literals: a SetElement, when the walker has placed its operands.
    bool elementStore(const Op* op)
    {
        if (op->exec != &OpHandlers::execAssignElement || m_nesting >= kMaxNesting)
            return false;
        const Op* target = op->child[0];
        const int array = nameRegister(target->child[0]);
        if (array < 0 || !isLeafOperand(target->child[1]) || !isLeafOperand(op->child[1]))
            return false;
        const uint16_t index = leafOperand(target->child[1]);
        emit(Opcode::SetElement, op, leafOperand(op->child[1]), uint16_t(array), index);
        return true;
    }

    // Whether expression() compiles the Op to instructions of its own (else it is evaluated).
    bool isNative(const Op* op) const
    {
        if (op->leaf != OpLeaf::None || m_nesting >= kMaxNesting)
            return op->leaf != OpLeaf::None;
        const NodeKind kind = op->node ? op->node->kind : NodeKind::Comma;
        if (kind == NodeKind::Negate || kind == NodeKind::LogicalNot || kind == NodeKind::BitwiseNot
            || isArithmetic(op) || isComparison(op))
            return true;
        if ((kind == NodeKind::Assign || (kind >= NodeKind::PreIncrement && kind <= NodeKind::PostDecrement))
            && variable(op->child[0]) >= 0)
            return true;
        return kind == NodeKind::Call && nativeCall(op);
    }

    void binary(const Op* op, const Op* at, uint16_t into, uint8_t flags)
    {
        charge();
        const BinaryOp bop = binaryOpOf(op->node->kind);
        // The right operand first, as the walker evaluates them; a name is read in place when
        // the operator runs, as the walker reads it by reference.
        const uint16_t right = operand(op->child[1], true, !pure(op->child[0]));
        const uint16_t left = operand(op->child[0], true);
        emit(operatorOpcode(bop), at, into, left, right, uint8_t(uint8_t(bop) | flags));
    }

    // «name = value» into a parameter or leading local: an operator's result goes straight in.
    void assign(const Op* op, uint16_t into)
    {
        charge();
        const auto target = uint16_t(variable(op->child[0]));
        const Op* value = op->child[1];
        if (isArithmetic(value) || isComparison(value)) {
            binary(value, op, target, kIntoVariable);
        } else {
            const uint32_t mark = m_top;
            const uint16_t r = operand(value, true);
            emit(Opcode::Store, op, target, r);
            m_top = mark;
        }
        if (into != target)
            emit(Opcode::Move, op, into, target);
    }

    // Calls of user functions the bytecode runs itself: every argument given, and in a call of
    // the function itself, arguments that read none of the parameters assigned before them.
    bool nativeCall(const Op* op) const
    {
        const FunctionFrame* callee = op->function;
        if (!callee || op->list.size() != callee->parameterCount)
            return false;
        auto it = m_index.find(callee);
        if (it == m_index.end() || !m_compiled[it->second])
            return false;
        return callee != m_frame || op->argumentsFirst;
    }

    // Whether an argument has nothing to do before the call limit is checked but read names and
    // literals and compute over them (which raises only on what is not a number).
    static bool plainArgument(const Op* op)
    {
        if (op->leaf != OpLeaf::None)
            return true;
        if (!isArithmetic(op) && !isComparison(op))
            return false;
        return op->child[0]->leaf != OpLeaf::None && op->child[1]->leaf != OpLeaf::None;
    }

    void call(const Op* op, uint16_t into)
    {
        charge();
        const uint16_t function = m_index.at(op->function);
        bool plain = true;
        for (const Op* argument : op->list)
            plain = plain && plainArgument(argument);
        if (!plain)
            emit(Opcode::CallCheck, op);
        const uint32_t base = m_top;
        grow(uint32_t(op->list.size()) + 1);
        for (size_t i = 0; i < op->list.size(); ++i) {
            const uint32_t mark = m_top;
            expression(op->list[i], uint16_t(base + i));
            m_top = mark;
        }
        emit(Opcode::Call, op, uint16_t(base), function);
        if (base != into)
            emit(Opcode::Move, op, into, uint16_t(base));
    }

    // A condition of "if", "while" or "for" (owner): the jump taken when it does not hold.
    size_t condition(const Op* owner, const Op* op, Opcode jump)
    {
        const uint32_t mark = m_top;
        size_t at;
        // A comparison gives 0 or 1, which both tests read alike: it decides the jump itself.
        if (isComparison(op)) {
            at = compare(op, false);
        } else {
            const uint16_t r = operand(op);
            at = emit(jump, owner, r);
        }
        m_top = mark;
        return at;
    }

    // A comparison of two names or literals costs a step only when it is not of two numbers.
    size_t compare(const Op* op, bool loopTest)
    {
        const bool leaves = op->quickTest != nullptr;
        if (!leaves)
            charge();
        const BinaryOp bop = binaryOpOf(op->node->kind);
        const uint16_t right = operand(op->child[1], true, !pure(op->child[0]));
        const uint16_t left = operand(op->child[0], true);
        return emit(loopTest ? loopIfOpcode(bop) : jumpUnlessOpcode(bop), op, 0, left, right,
            uint8_t(uint8_t(bop) | (leaves ? kLeafOperands : 0)));
    }

    // A loop: a comparison as its condition is tested at the end, one instruction per turn for
    // the test and the jump back.
    void loop(const Op* at, const Op* test, const Op* body, const Op* step, Opcode jump)
    {
        m_loops.emplace_back();
        uint32_t start;
        size_t exitJump = SIZE_MAX;
        size_t toTest = SIZE_MAX;
        if (isComparison(test)) {
            toTest = emit(Opcode::Jump, at);
            start = label(at);
        } else {
            start = label(at);
            exitJump = condition(at, test, jump);
        }
        statement(body);
        const uint32_t continueAt = label(at);
        if (step)
            statement(step);
        if (toTest != SIZE_MAX) {
            patch(toTest, label(at));
            const uint32_t mark = m_top;
            patch(compare(test, true), start);
            m_top = mark;
        } else {
            patch(emit(Opcode::LoopBack, at), start);
        }
        const uint32_t end = label(at);
        if (exitJump != SIZE_MAX)
            patch(exitJump, end);
        Loop done = std::move(m_loops.back());
        m_loops.pop_back();
        for (size_t j : done.breaks)
            patch(j, end);
        for (size_t j : done.continues)
            patch(j, continueAt);
    }

    // A statement as the walker evaluates it, its value unused.
    void statement(const Op* op)
    {
        const Nested nested(m_nesting);
        if (m_nesting >= kMaxNesting)
            throw Unsupported();
        if (!op->node) {
            charge(); // an empty statement is still entered
            return;
        }
        switch (op->node->kind) {
        case NodeKind::Sequence:
            charge();
            for (const Op* item : op->list)
                statement(item);
            return;
        case NodeKind::If: {
            charge();
            const size_t toElse = condition(op, op->child[0], Opcode::JumpIfFalse);
            if (op->child[1]->node)
                statement(op->child[1]);
            if (op->child[2]->node) {
                const size_t toEnd = emit(Opcode::Jump, op);
                patch(toElse, label(op));
                statement(op->child[2]);
                patch(toEnd, label(op));
            } else {
                patch(toElse, label(op));
            }
            return;
        }
        case NodeKind::While:
            charge();
            loop(op, op->child[0], op->child[1], nullptr, Opcode::JumpIfFalse);
            return;
        case NodeKind::For:
            charge();
            statement(op->child[0]);
            loop(op, op->child[1], op->child[3], op->child[2], Opcode::JumpIfForFalse);
            return;
        case NodeKind::Return: {
            if (!m_frame)
                throw Unsupported(); // a "return" of the top level: left to the walker
            charge();
            const uint32_t mark = m_top;
            const uint16_t r = operand(op->child[0]);
            emit(Opcode::Return, op, r);
            m_top = mark;
            return;
        }
        case NodeKind::Break:
        case NodeKind::Continue: {
            if (m_loops.empty())
                throw Unsupported(); // not in a loop: such programs are not compiled
            charge();
            const size_t at = emit(Opcode::Jump, op);
            (op->node->kind == NodeKind::Break ? m_loops.back().breaks : m_loops.back().continues)
                .push_back(at);
            return;
        }
        default: {
            const uint32_t mark = m_top;
            // An assignment as a statement of its own needs no copy of its value.
            if (isKind(op, NodeKind::Assign) && variable(op->child[0]) >= 0)
                assign(op, uint16_t(variable(op->child[0])));
            else
                evaluated(op, temporary(), true);
            m_top = mark;
            return;
        }
        }
    }

    // The statement's value into the register, as the walker's sequence gives it when the
    // statement is the last one run.
    void tail(const Op* op, uint16_t into)
    {
        const Nested nested(m_nesting);
        if (!op->node || m_nesting >= kMaxNesting)
            throw Unsupported();
        switch (op->node->kind) {
        case NodeKind::Sequence: {
            charge();
            const std::vector<const Op*>& statements = op->list;
            if (statements.empty())
                throw Unsupported();
            for (size_t i = 0; i + 1 < statements.size(); ++i)
                statement(statements[i]);
            tail(statements.back(), into);
            return;
        }
        case NodeKind::If: {
            charge();
            const size_t toElse = condition(op, op->child[0], Opcode::JumpIfFalse);
            branchValue(op->child[1], into);
            const size_t toEnd = emit(Opcode::Jump, op);
            patch(toElse, label(op));
            branchValue(op->child[2], into);
            patch(toEnd, label(op));
            return;
        }
        case NodeKind::Return:
            statement(op);
            return;
        case NodeKind::While:
        case NodeKind::For:
        case NodeKind::VarList:
            // The walker gives these values of its own: it runs them, unless they leave.
            if (leavesStatement(op))
                throw Unsupported();
            emit(Opcode::Evaluate, op, into);
            return;
        case NodeKind::Break:
        case NodeKind::Continue:
            throw Unsupported();
        default:
            evaluated(op, into);
            return;
        }
    }

    // A branch of an "if" as its last statement: none gives Integer 0.
    void branchValue(const Op* op, uint16_t into)
    {
        if (op->node)
            tail(op, into);
        else
            emit(Opcode::LoadConstant, op, into, constant(ScriptValue()));
    }

    ScriptInterpreter& m_in;
    std::unordered_map<const FunctionFrame*, uint16_t> m_index;
    std::vector<bool> m_compiled;
    BytecodeFunction* m_out = nullptr;
    FunctionFrame* m_frame = nullptr;
    std::vector<Loop> m_loops;
    uint32_t m_top = 0;
    uint32_t m_steps = 0; // owed by the nodes entered since the last instruction
    int m_nesting = 0;
};

std::unique_ptr<BytecodeProgram> compileBytecode(ScriptInterpreter& in)
{
    return BytecodeCompiler(in).compile();
}

bool bytecodeByDefault()
{
    static const bool chosen = [] {
        const char* engine = std::getenv("VORPANE_SCRIPT_ENGINE");
        return !engine || std::strcmp(engine, "walker") != 0;
    }();
    return chosen;
}

} // namespace vorpane::script
