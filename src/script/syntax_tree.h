#pragma once
// The syntax tree of one parse. Nodes never change after the parse, except for the interpreter's
// private caches. The tree owns every node in one flat list, so freeing a deep tree never recurses.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorpane::script {

enum class NodeKind : int32_t {
    VarList = 1, // declarator (Declarator), next VarList or none
    Declarator = 2, // name (Identifier), initial value or none
    Sequence = 3, // first, rest (Sequence or none)
    If = 4, // condition, then part, else part or none
    For = 5, // initialiser, condition, step (each may be none), body
    While = 6, // condition, body
    Return = 7, // value or none
    Break = 8,
    Continue = 9,
    Comma = 10, // left, right
    Negate = 11, // operand
    LogicalNot = 12, // operand
    BitwiseNot = 13, // operand
    Assign = 14, // target, value; 14 to 24 in the order of the assignment operators
    AddAssign = 15,
    SubAssign = 16,
    MulAssign = 17,
    DivAssign = 18,
    ModAssign = 19,
    AndAssign = 20,
    OrAssign = 21,
    XorAssign = 22,
    ShlAssign = 23,
    ShrAssign = 24,
    PreIncrement = 26, // operand
    PreDecrement = 27,
    PostIncrement = 28,
    PostDecrement = 29,
    Equal = 30, // left, right; 30 to 35 comparisons
    NotEqual = 31,
    Less = 32,
    LessEqual = 33,
    GreaterEqual = 34,
    Greater = 35,
    Add = 36, // left, right; 36 to 40 arithmetic
    Subtract = 37,
    Multiply = 38,
    Divide = 39,
    Remainder = 40,
    BitwiseAnd = 41,
    BitwiseOr = 42,
    BitwiseXor = 43,
    LogicalAnd = 44,
    LogicalOr = 45,
    ShiftLeft = 46,
    ShiftRight = 47,
    Conditional = 49, // condition, then value, else value
    New = 50, // constructor (Constructor)
    Call = 51, // name (Identifier); arguments in list
    Constructor = 52, // class name (Identifier); arguments in list (empty without parentheses)
    MethodCall = 53, // object expression, method name (Identifier); arguments in list
    Member = 54, // object expression, member name (Identifier)
    Index = 56, // array expression, index expression
    StringLiteral = 57, // text (escapes translated)
    IntegerLiteral = 58,
    FloatLiteral = 59,
    Identifier = 60, // text is the name
};

struct SyntaxNode {
    NodeKind kind;
    int32_t line = 0; // the lexer's line when the node was built
    SyntaxNode* child[4] = {}; // inner nodes; child[3] only for the body of "for"
    std::vector<SyntaxNode*> list; // the arguments of Call, Constructor and MethodCall, in source order
    std::string text; // StringLiteral and Identifier
    int32_t integer = 0; // IntegerLiteral
    double number = 0.0; // FloatLiteral

    bool isLeaf() const { return int32_t(kind) >= int32_t(NodeKind::StringLiteral); }

    // Interpreter-private caches (for example a resolved slot); the parser leaves them alone.
    mutable int32_t cacheIndex = -1;
    mutable const void* cacheOwner = nullptr;
};

struct FunctionDef {
    SyntaxNode* name = nullptr; // Identifier
    SyntaxNode* body = nullptr; // or none
    std::vector<SyntaxNode*> parameters; // Identifier nodes, possibly empty
};

struct SyntaxTree {
    SyntaxNode* program = nullptr; // none when the parse failed
    std::vector<FunctionDef> functions; // newest declaration first
    std::vector<std::unique_ptr<SyntaxNode>> nodes; // every node of the parse

    SyntaxNode* makeNode(NodeKind kind, int32_t line)
    {
        nodes.push_back(std::make_unique<SyntaxNode>());
        nodes.back()->kind = kind;
        nodes.back()->line = line;
        return nodes.back().get();
    }
};

// Parses a script text (a file's bytes with CR LF already turned into LF, as a text-mode read
// gives them). Errors are reported through the parse-error reporter ("Script Error" box,
// "Line %d : %s\n%s"); on failure the tree's program is none.
SyntaxTree parseScript(const std::string& text);

// As parseScript, the parse kept for the next run of the same text on this thread (a sheet runs
// again at every redraw). Its nodes are the interpreter's to mark while it holds the tree.
std::shared_ptr<SyntaxTree> parseScriptShared(const std::string& text);

} // namespace vorpane::script
