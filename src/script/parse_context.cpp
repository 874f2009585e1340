#include "script/parse_context.h"

#include "script/parse_error.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace vorpane::script {

namespace {

// Token texts are C strings to the messages and the literal rules: a NUL byte ends them.
std::string_view textOf(TokenSpan token)
{
    if (!token.text)
        return {};
    return { token.text, strnlen(token.text, size_t(token.length)) };
}

// Integer literals wrap modulo 2^32, whatever their base.
int32_t wrappedValue(std::string_view digits, uint32_t base)
{
    uint32_t value = 0;
    for (char c : digits) {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        value = value * base + digit;
    }
    return int32_t(value);
}

// The character a backslash escape stands for, or -1 when the escape is unknown.
int escapedCharacter(char c)
{
    switch (c) {
    case '"':
        return '"';
    case '\'':
        return '\'';
    case '0':
        return 0;
    case '?':
        return '?';
    case '\\':
        return '\\';
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 'f':
        return 12;
    case 'n':
        return 10;
    case 'r':
        return 13;
    case 't':
        return 9;
    case 'v':
        return 11;
    default:
        return -1;
    }
}

} // namespace

ParseContext::ParseContext(const std::string& text)
    : m_input(text)
{
    m_lastLineFeed = m_input.rfind('\n');
    m_input.append(2, '\0');
}

ParseContext::~ParseContext() = default;

bool ParseContext::lineFeedFollows(const char* at) const
{
    return m_lastLineFeed != std::string::npos && at < m_input.data() + m_lastLineFeed;
}

void ParseContext::report(std::string_view message) { reportParseError(line, message, textOf(current)); }

void ParseContext::lexicalError(std::string_view message)
{
    report(message);
    lexerStopped = true;
}

SyntaxNode* ParseContext::node(NodeKind kind, SyntaxNode* a, SyntaxNode* b, SyntaxNode* c, SyntaxNode* d)
{
    SyntaxNode* n = m_tree.makeNode(kind, line);
    n->child[0] = a;
    n->child[1] = b;
    n->child[2] = c;
    n->child[3] = d;
    return n;
}

SyntaxNode* ParseContext::identifier(TokenSpan token)
{
    std::string_view name = textOf(token);
    if (name.size() > size_t(kMaxIdentifierLength)) {
        report("Identifier length exceeds " + std::to_string(kMaxIdentifierLength + 1) + " characters");
        return nullptr;
    }
    SyntaxNode* n = node(NodeKind::Identifier);
    n->text = name;
    return n;
}

SyntaxNode* ParseContext::stringLiteral(TokenSpan token)
{
    std::string_view quoted = textOf(token);
    // The lexer guarantees both quotes unless a NUL byte cut the text short.
    std::string_view body = quoted.size() >= 2 && quoted.back() == '"'
        ? quoted.substr(1, quoted.size() - 2)
        : quoted.substr(std::min<size_t>(1, quoted.size()));
    std::string text;
    text.reserve(body.size());
    bool ended = false; // a \0 ends the text, but the escapes after it are still checked
    for (size_t i = 0; i < body.size(); ++i) {
        int c = static_cast<unsigned char>(body[i]);
        if (c == '\\') {
            if (i + 1 == body.size()) {
                report("Invalid escape code: ");
                return nullptr;
            }
            c = escapedCharacter(body[++i]);
            if (c < 0) {
                report(std::string("Invalid escape code: ") + body[i]);
                return nullptr;
            }
        }
        if (c == 0)
            ended = true;
        if (!ended)
            text += char(c);
    }
    SyntaxNode* n = node(NodeKind::StringLiteral);
    n->text = std::move(text);
    return n;
}

SyntaxNode* ParseContext::decimalLiteral(TokenSpan token)
{
    SyntaxNode* n = node(NodeKind::IntegerLiteral);
    n->integer = wrappedValue(textOf(token), 10);
    return n;
}

SyntaxNode* ParseContext::octalLiteral(TokenSpan token)
{
    SyntaxNode* n = node(NodeKind::IntegerLiteral);
    n->integer = wrappedValue(textOf(token).substr(1), 8);
    return n;
}

SyntaxNode* ParseContext::hexLiteral(TokenSpan token)
{
    SyntaxNode* n = node(NodeKind::IntegerLiteral);
    n->integer = wrappedValue(textOf(token).substr(2), 16);
    return n;
}

SyntaxNode* ParseContext::floatLiteral(TokenSpan token)
{
    // from_chars, not strtod: the value must not depend on the user's locale.
    std::string_view digits = textOf(token);
    SyntaxNode* n = node(NodeKind::FloatLiteral);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n->number);
    if (error == std::errc::result_out_of_range) {
        // Too large becomes infinity, too small zero, as a C conversion gives them.
        bool large = digits.find_first_not_of('0') < digits.find('.');
        n->number = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return n;
}

void ParseContext::beginArguments()
{
    if (m_openArgumentLists == m_argumentLists.size())
        m_argumentLists.emplace_back();
    else
        m_argumentLists[m_openArgumentLists].clear();
    ++m_openArgumentLists;
}

void ParseContext::addArgument(SyntaxNode* argument)
{
    m_argumentLists[m_openArgumentLists - 1].push_back(argument);
}

SyntaxNode* ParseContext::finishArguments(NodeKind kind, SyntaxNode* a, SyntaxNode* b)
{
    SyntaxNode* n = node(kind, a, b);
    const std::vector<SyntaxNode*>& arguments = m_argumentLists[--m_openArgumentLists];
    n->list.assign(arguments.begin(), arguments.end());
    return n;
}

void ParseContext::addParameter(SyntaxNode* name)
{
    // Both names are kept: the function keeps the arity it was written with, and the first of the
    // two is the one the body sees.
    for (const SyntaxNode* earlier : m_parameters) {
        if (earlier->text == name->text) {
            report("Argument already exists!");
            break;
        }
    }
    m_parameters.push_back(name);
}

void ParseContext::declareFunction(SyntaxNode* name, SyntaxNode* body)
{
    if (!m_functionNames.insert(name->text).second) {
        report("Function already exists");
        return;
    }
    m_tree.functions.push_back({ name, body, m_parameters });
}

void* ParseContext::allocateParserStack(std::size_t bytes)
{
    size_t units = (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    m_parserStacks.push_back(std::make_unique_for_overwrite<std::max_align_t[]>(units));
    return m_parserStacks.back().get();
}

SyntaxTree ParseContext::takeTree(bool accepted)
{
    std::reverse(m_tree.functions.begin(), m_tree.functions.end());
    m_tree.program = accepted ? m_program : nullptr;
    return std::move(m_tree);
}

const char* parserMessage(const char* text)
{
    return std::strcmp(text, "memory exhausted") == 0 ? "yacc stack overflow" : text;
}

} // namespace vorpane::script
