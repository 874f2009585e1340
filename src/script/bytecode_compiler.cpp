// The compiler from the syntax tree to bytecode. It gives up (no program) on any construct it
// does not handle yet, so the tree walker runs such a program whole: a run never mixes engines.

#include "script/bytecode.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

namespace vorpane::script {

namespace {

constexpr uint32_t kMaxFunctions = 0xFFFF;

struct Unsupported { };

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

bool isBinary(NodeKind kind) { return kind >= NodeKind::Equal && kind <= NodeKind::Remainder; }

// Whether evaluating the node can change a variable: then an operand read before it has to be
// copied first.
bool changesVariables(const SyntaxNode* node)
{
    if (!node)
        return false;
    switch (node->kind) {
    case NodeKind::Assign:
    case NodeKind::PreIncrement:
    case NodeKind::PreDecrement:
    case NodeKind::PostIncrement:
    case NodeKind::PostDecrement:
    case NodeKind::Call:
        return true;
    default:
        break;
    }
    for (const SyntaxNode* child : node->child)
        if (changesVariables(child))
            return true;
    return false;
}

// The statements of a body or block in order; sequences nest (declarations, then statements).
void flatten(const SyntaxNode* node, std::vector<const SyntaxNode*>& out)
{
    while (node && node->kind == NodeKind::Sequence) {
        if (!node->child[0])
            throw Unsupported();
        flatten(node->child[0], out);
        node = node->child[1];
    }
    if (node)
        out.push_back(node);
}

class FunctionCompiler {
public:
    FunctionCompiler(BytecodeFunction& out, const std::unordered_map<std::string, uint16_t>& functions,
        const std::vector<const FunctionDef*>& defs, int self)
        : m_out(out)
        , m_functions(functions)
        , m_defs(defs)
        , m_self(self)
    {
    }

    void compileFunction(const FunctionDef& def)
    {
        for (const SyntaxNode* parameter : def.parameters) {
            if (!parameter || !m_names.emplace(parameter->text, m_top).second)
                throw Unsupported();
            grow(1);
        }
        m_out.parameterCount = uint16_t(m_top);
        std::vector<const SyntaxNode*> statements;
        flatten(def.body, statements);
        size_t first = 0;
        // The declarations that open the body, without initial values: always there.
        for (; first < statements.size() && statements[first]->kind == NodeKind::VarList; ++first) {
            for (const SyntaxNode* list = statements[first]; list; list = list->child[1]) {
                const SyntaxNode* declarator = list->child[0];
                if (list->kind != NodeKind::VarList || !declarator || declarator->child[1]
                    || !declarator->child[0])
                    throw Unsupported();
                if (!m_names.emplace(declarator->child[0]->text, m_top).second)
                    throw Unsupported(); // declared twice: the walker reports it
                grow(1);
            }
        }
        m_out.localCount = uint16_t(m_top - m_out.parameterCount);
        if (first == statements.size())
            throw Unsupported();
        // The function's value is that of its last statement: a return or an expression.
        for (size_t i = first; i + 1 < statements.size(); ++i)
            statement(statements[i]);
        const SyntaxNode* last = statements.back();
        if (last->kind == NodeKind::Return) {
            statement(last);
        } else {
            uint16_t value = temporary();
            expression(last, value);
            emit(Opcode::Return, last, value);
        }
    }

    void compileTopLevel(const SyntaxNode* program)
    {
        m_topLevel = true;
        std::vector<const SyntaxNode*> statements;
        flatten(program, statements);
        if (statements.empty())
            throw Unsupported();
        for (size_t i = 0; i + 1 < statements.size(); ++i)
            statement(statements[i]);
        uint16_t value = temporary();
        expression(statements.back(), value);
        emit(Opcode::End, statements.back(), value);
    }

private:
    struct SelfCall {
        uint32_t argumentBase;
        size_t argumentIndex;
    };

    void grow(uint32_t count)
    {
        m_top += count;
        if (m_top >= kConstantOperand)
            throw Unsupported();
        if (m_top > m_out.frameSize)
            m_out.frameSize = uint16_t(m_top);
    }
    uint16_t temporary()
    {
        uint16_t r = uint16_t(m_top);
        grow(1);
        return r;
    }

    size_t emit(
        Opcode op, const SyntaxNode* node, uint16_t a = 0, uint16_t b = 0, uint16_t c = 0, uint8_t sub = 0)
    {
        m_out.code.push_back(Instruction { op, sub, a, b, c });
        m_out.nodes.push_back(node);
        return m_out.code.size() - 1;
    }
    uint32_t here() const { return uint32_t(m_out.code.size()); }
    void patch(size_t at, uint32_t to)
    {
        Instruction& jump = m_out.code[at];
        if (jump.op != Opcode::CompareJump && jump.op != Opcode::LoopIfCompare) {
            jump.setTarget(to);
            return;
        }
        if (to > 0xFFFF)
            throw Unsupported();
        jump.a = uint16_t(to);
    }

    // The register of a parameter or local. In the arguments of a call of the function itself,
    // a parameter already assigned in the new call reads that argument: the walker assigns them
    // one by one into the record the body will see.
    uint16_t variable(const SyntaxNode* identifier, bool write)
    {
        if (m_topLevel)
            throw Unsupported(); // globals are left to the walker for now
        auto it = m_names.find(identifier->text);
        if (it == m_names.end())
            throw Unsupported();
        const uint32_t index = it->second;
        if (index >= m_out.parameterCount || m_selfCalls.empty())
            return uint16_t(index);
        if (write)
            throw Unsupported();
        for (size_t k = m_selfCalls.size(); k-- > 0;)
            if (index < m_selfCalls[k].argumentIndex)
                return uint16_t(m_selfCalls[k].argumentBase + index);
        return uint16_t(index);
    }

    // The register that holds the node's value: a variable in place, else a fresh temporary.
    // With literal, a literal gives its constant (kConstantOperand set) instead.
    uint16_t operand(const SyntaxNode* node, bool copy, bool literal = false)
    {
        if (literal && node && node->kind == NodeKind::IntegerLiteral)
            return uint16_t(kConstantOperand | constant(ScriptValue(node->integer)));
        if (literal && node && node->kind == NodeKind::FloatLiteral)
            return uint16_t(kConstantOperand | constant(ScriptValue(node->number)));
        if (node && node->kind == NodeKind::Identifier && !copy)
            return variable(node, false);
        uint16_t r = temporary();
        expression(node, r);
        return r;
    }

    uint16_t constant(ScriptValue value)
    {
        m_out.constants.push_back(std::move(value));
        if (m_out.constants.size() >= kConstantOperand)
            throw Unsupported();
        return uint16_t(m_out.constants.size() - 1);
    }

    void expression(const SyntaxNode* node, uint16_t into)
    {
        if (!node)
            throw Unsupported();
        const uint32_t mark = m_top;
        switch (node->kind) {
        case NodeKind::IntegerLiteral:
            emit(Opcode::LoadConstant, node, into, constant(ScriptValue(node->integer)));
            break;
        case NodeKind::FloatLiteral:
            emit(Opcode::LoadConstant, node, into, constant(ScriptValue(node->number)));
            break;
        case NodeKind::Identifier:
            emit(Opcode::Move, node, into, variable(node, false));
            break;
        case NodeKind::Negate: {
            uint16_t r = operand(node->child[0], false);
            emit(Opcode::Unary, node, into, r, 0, uint8_t(UnaryOp::Negate));
            break;
        }
        case NodeKind::Assign: {
            const SyntaxNode* target = node->child[0];
            if (!target || target->kind != NodeKind::Identifier)
                throw Unsupported();
            uint16_t r = variable(target, true);
            expression(node->child[1], r);
            if (r != into)
                emit(Opcode::Move, node, into, r);
            break;
        }
        case NodeKind::PreIncrement:
        case NodeKind::PreDecrement:
        case NodeKind::PostIncrement:
        case NodeKind::PostDecrement: {
            const SyntaxNode* target = node->child[0];
            if (!target || target->kind != NodeKind::Identifier)
                throw Unsupported();
            const bool up = node->kind == NodeKind::PreIncrement || node->kind == NodeKind::PostIncrement;
            const bool post = node->kind == NodeKind::PostIncrement || node->kind == NodeKind::PostDecrement;
            emit(Opcode::Step, node, into, variable(target, true), 0, uint8_t((up ? 1 : 0) | (post ? 2 : 0)));
            break;
        }
        case NodeKind::Call:
            call(node, into);
            break;
        default:
            if (!isBinary(node->kind))
                throw Unsupported();
            {
                const BinaryOp op = binaryOpOf(node->kind);
                uint16_t left = operand(node->child[0], changesVariables(node->child[1]), true);
                uint16_t right = operand(node->child[1], false, true);
                const Opcode code = op == BinaryOp::Add ? Opcode::Add
                    : op == BinaryOp::Subtract          ? Opcode::Subtract
                    : op == BinaryOp::Multiply          ? Opcode::Multiply
                                                        : Opcode::Binary;
                emit(code, node, into, left, right, uint8_t(op));
            }
            break;
        }
        m_top = mark;
    }

    void call(const SyntaxNode* node, uint16_t into)
    {
        const SyntaxNode* name = node->child[0];
        if (!name)
            throw Unsupported();
        auto it = m_functions.find(name->text);
        if (it == m_functions.end())
            throw Unsupported(); // library functions stay with the walker
        const uint16_t function = it->second;
        const FunctionDef& def = *m_defs[function - 1];
        if (node->list.size() != def.parameters.size())
            throw Unsupported(); // missing arguments keep the caller's values: not yet
        const uint32_t base = m_top;
        grow(uint32_t(node->list.size()) + 1);
        const bool self = int(function) == m_self;
        if (self)
            m_selfCalls.push_back({ base, 0 });
        for (size_t i = 0; i < node->list.size(); ++i) {
            if (self)
                m_selfCalls.back().argumentIndex = i;
            const uint32_t mark = m_top;
            expression(node->list[i], uint16_t(base + i));
            m_top = mark;
        }
        if (self)
            m_selfCalls.pop_back();
        emit(Opcode::Call, node, uint16_t(base), function);
        if (base != into)
            emit(Opcode::Move, node, into, uint16_t(base));
    }

    void condition(const SyntaxNode* node, Opcode jump, std::vector<size_t>& exits)
    {
        const uint32_t mark = m_top;
        // A comparison gives 0 or 1, which both tests read alike: it decides the jump itself.
        if (node && node->kind >= NodeKind::Equal && node->kind <= NodeKind::Greater) {
            uint16_t left = operand(node->child[0], changesVariables(node->child[1]), true);
            uint16_t right = operand(node->child[1], false, true);
            exits.push_back(emit(Opcode::CompareJump, node, 0, left, right, uint8_t(binaryOpOf(node->kind))));
        } else {
            uint16_t r = operand(node, false);
            exits.push_back(emit(jump, node, r));
        }
        m_top = mark;
    }

    static bool isComparison(const SyntaxNode* node)
    {
        return node && node->kind >= NodeKind::Equal && node->kind <= NodeKind::Greater;
    }

    // A loop whose condition is a comparison, tested at its end: one instruction per turn for
    // the test and the jump back.
    void loopTestedAtEnd(
        const SyntaxNode* loop, const SyntaxNode* test, const SyntaxNode* body, const SyntaxNode* step)
    {
        const size_t toTest = emit(Opcode::Jump, loop);
        const uint32_t start = here();
        if (body)
            statement(body);
        if (step)
            discard(step);
        patch(toTest, here());
        const uint32_t mark = m_top;
        uint16_t left = operand(test->child[0], changesVariables(test->child[1]), true);
        uint16_t right = operand(test->child[1], false, true);
        patch(emit(Opcode::LoopIfCompare, test, 0, left, right, uint8_t(binaryOpOf(test->kind))), start);
        m_top = mark;
    }

    void statement(const SyntaxNode* node)
    {
        if (!node)
            throw Unsupported();
        switch (node->kind) {
        case NodeKind::Sequence: {
            std::vector<const SyntaxNode*> statements;
            flatten(node, statements);
            for (const SyntaxNode* s : statements)
                statement(s);
            return;
        }
        case NodeKind::If: {
            std::vector<size_t> toElse;
            condition(node->child[0], Opcode::JumpIfFalse, toElse);
            if (node->child[1])
                statement(node->child[1]);
            if (node->child[2]) {
                size_t toEnd = emit(Opcode::Jump, node);
                patch(toElse[0], here());
                statement(node->child[2]);
                patch(toEnd, here());
            } else {
                patch(toElse[0], here());
            }
            return;
        }
        case NodeKind::While: {
            if (isComparison(node->child[0])) {
                loopTestedAtEnd(node, node->child[0], node->child[1], nullptr);
                return;
            }
            const uint32_t start = here();
            std::vector<size_t> exits;
            condition(node->child[0], Opcode::JumpIfFalse, exits);
            if (node->child[1])
                statement(node->child[1]);
            emit(Opcode::LoopBack, node);
            m_out.code.back().setTarget(start);
            patch(exits[0], here());
            return;
        }
        case NodeKind::For: {
            if (!node->child[1])
                throw Unsupported();
            if (node->child[0])
                discard(node->child[0]);
            if (isComparison(node->child[1])) {
                loopTestedAtEnd(node, node->child[1], node->child[3], node->child[2]);
                return;
            }
            const uint32_t start = here();
            std::vector<size_t> exits;
            condition(node->child[1], Opcode::JumpIfForFalse, exits);
            if (node->child[3])
                statement(node->child[3]);
            if (node->child[2])
                discard(node->child[2]);
            emit(Opcode::LoopBack, node);
            m_out.code.back().setTarget(start);
            patch(exits[0], here());
            return;
        }
        case NodeKind::Return: {
            if (m_topLevel || !node->child[0])
                throw Unsupported();
            const uint32_t mark = m_top;
            uint16_t r = operand(node->child[0], false);
            emit(Opcode::Return, node, r);
            m_top = mark;
            return;
        }
        default:
            discard(node);
            return;
        }
    }

    void discard(const SyntaxNode* node)
    {
        const uint32_t mark = m_top;
        expression(node, temporary());
        m_top = mark;
    }

    BytecodeFunction& m_out;
    const std::unordered_map<std::string, uint16_t>& m_functions;
    const std::vector<const FunctionDef*>& m_defs;
    const int m_self;
    bool m_topLevel = false;
    std::unordered_map<std::string, uint32_t> m_names;
    std::vector<SelfCall> m_selfCalls;
    uint32_t m_top = 0;
};

} // namespace

std::unique_ptr<BytecodeProgram> compileBytecode(const SyntaxTree& tree)
{
    if (!tree.program)
        return nullptr;
    // Newest declaration first: the first one of a name is the one calls find. Function i is
    // at index i + 1, the top level at 0.
    std::unordered_map<std::string, uint16_t> functions;
    std::vector<const FunctionDef*> defs;
    for (const FunctionDef& def : tree.functions) {
        if (!def.name || !def.body)
            return nullptr;
        if (functions.emplace(def.name->text, uint16_t(defs.size() + 1)).second)
            defs.push_back(&def);
        if (defs.size() >= kMaxFunctions)
            return nullptr;
    }
    auto program = std::make_unique<BytecodeProgram>();
    program->functions.resize(defs.size() + 1);
    try {
        FunctionCompiler(program->functions[0], functions, defs, 0).compileTopLevel(tree.program);
        for (size_t i = 0; i < defs.size(); ++i)
            FunctionCompiler(program->functions[i + 1], functions, defs, int(i + 1))
                .compileFunction(*defs[i]);
    } catch (const Unsupported&) {
        return nullptr;
    }
    for (const BytecodeFunction& f : program->functions)
        program->largestFrame = std::max(program->largestFrame, f.frameSize);
    return program;
}

bool bytecodeByDefault()
{
    static const bool chosen = [] {
        const char* engine = std::getenv("VORPANE_SCRIPT_ENGINE");
        return engine && std::strcmp(engine, "bytecode") == 0;
    }();
    return chosen;
}

} // namespace vorpane::script
