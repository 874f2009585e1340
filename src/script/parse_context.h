#pragma once
// The state of one parse, shared by the lexer and the grammar: the input, the lexer's line and
// current token, the tree under construction, and the named builders that the grammar's actions call.
// Nothing here is global, so parses can follow one another (or run side by side) freely.

#include "script/syntax_tree.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vorpane::script {

// Longest identifier a script may use; one more is refused with this number plus one in the message.
inline constexpr int kMaxIdentifierLength = 63;

// The parser's state and value stacks start this deep, double when full and stop at the maximum.
inline constexpr int kInitialParserDepth = 200;
inline constexpr int kMaxParserDepth = 10000;

// A token's characters inside the parse's own copy of the input; stays valid for the whole parse.
struct TokenSpan {
    const char* text;
    int32_t length;
};

class ParseContext {
public:
    explicit ParseContext(const std::string& text);
    ParseContext(const ParseContext&) = delete;
    ParseContext& operator=(const ParseContext&) = delete;
    ~ParseContext();

    // The input for the lexer: the text followed by the two NUL bytes the scanner wants.
    char* scanBuffer() { return m_input.data(); }
    std::size_t scanBufferSize() const { return m_input.size(); }
    // Whether a line feed comes anywhere after the given position of the scan buffer.
    bool lineFeedFollows(const char* at) const;

    // The lexer's line, counted from 1.
    int32_t line = 1;
    // The token just read; quoted by every message. Empty at the end of the text; after a lexical
    // error it stays on the offending characters, which a following "syntax error" quotes again.
    TokenSpan current { nullptr, 0 };
    // Set after a lexical error: from then on the lexer only reports end of input.
    bool lexerStopped = false;

    // The one way messages leave the parse: "Script Error" with the line and the current token.
    void report(std::string_view message);
    void lexicalError(std::string_view message);

    // Builders. The literal builders return none after reporting a bad literal; the grammar then
    // stops the parse.
    SyntaxNode* node(NodeKind kind, SyntaxNode* a = nullptr, SyntaxNode* b = nullptr, SyntaxNode* c = nullptr,
        SyntaxNode* d = nullptr);
    SyntaxNode* sequence(SyntaxNode* first, SyntaxNode* rest)
    {
        return node(NodeKind::Sequence, first, rest);
    }
    SyntaxNode* identifier(TokenSpan token);
    SyntaxNode* stringLiteral(TokenSpan token);
    SyntaxNode* decimalLiteral(TokenSpan token);
    SyntaxNode* octalLiteral(TokenSpan token);
    SyntaxNode* hexLiteral(TokenSpan token);
    SyntaxNode* floatLiteral(TokenSpan token);

    // Argument lists nest (calls inside arguments), so they are gathered on a stack whose vectors
    // are reused from one list to the next.
    void beginArguments();
    void addArgument(SyntaxNode* argument);
    // Builds a Call, Constructor or MethodCall node holding the innermost list, and drops that list.
    SyntaxNode* finishArguments(NodeKind kind, SyntaxNode* a, SyntaxNode* b = nullptr);

    // Parameters of the function being declared (declarations do not nest).
    void beginParameters() { m_parameters.clear(); }
    void addParameter(SyntaxNode* name);
    void declareFunction(SyntaxNode* name, SyntaxNode* body);

    // Storage for the parser's stacks once they outgrow their first block. The blocks live until
    // the parse ends, so a parse that is abandoned half-way frees them all the same.
    void* allocateParserStack(std::size_t bytes);

    // The grammar's last step: the program node of a script that has been read to its end.
    void finish(SyntaxNode* program) { m_program = program; }
    // Hands the tree over, with a program only when the parse was accepted; functions come newest
    // declaration first.
    SyntaxTree takeTree(bool accepted);

private:
    std::string m_input;
    std::size_t m_lastLineFeed;
    SyntaxTree m_tree;
    SyntaxNode* m_program = nullptr;
    std::vector<std::vector<SyntaxNode*>> m_argumentLists;
    std::size_t m_openArgumentLists = 0;
    std::vector<SyntaxNode*> m_parameters;
    std::unordered_set<std::string_view> m_functionNames;
    std::vector<std::unique_ptr<std::max_align_t[]>> m_parserStacks;
};

// Bison's own texts, turned into the ones this system shows ("memory exhausted" is the stack limit).
const char* parserMessage(const char* text);

} // namespace vorpane::script
