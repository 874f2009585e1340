#include "script/tree_dump.h"

#include <charconv>
#include <cstdio>

namespace vorpane::script {

namespace {

struct KindInfo {
    const char* name;
    int children;
};

KindInfo kindInfo(NodeKind kind)
{
    switch (kind) {
    case NodeKind::VarList:
        return { "varlist", 2 };
    case NodeKind::Declarator:
        return { "decl", 2 };
    case NodeKind::Sequence:
        return { "seq", 2 };
    case NodeKind::If:
        return { "if", 3 };
    case NodeKind::For:
        return { "for", 4 };
    case NodeKind::While:
        return { "while", 2 };
    case NodeKind::Return:
        return { "return", 1 };
    case NodeKind::Break:
        return { "break", 0 };
    case NodeKind::Continue:
        return { "continue", 0 };
    case NodeKind::Comma:
        return { "comma", 2 };
    case NodeKind::Negate:
        return { "neg", 1 };
    case NodeKind::LogicalNot:
        return { "not", 1 };
    case NodeKind::BitwiseNot:
        return { "compl", 1 };
    case NodeKind::Assign:
        return { "assign", 2 };
    case NodeKind::AddAssign:
        return { "add-assign", 2 };
    case NodeKind::SubAssign:
        return { "sub-assign", 2 };
    case NodeKind::MulAssign:
        return { "mul-assign", 2 };
    case NodeKind::DivAssign:
        return { "div-assign", 2 };
    case NodeKind::ModAssign:
        return { "mod-assign", 2 };
    case NodeKind::AndAssign:
        return { "and-assign", 2 };
    case NodeKind::OrAssign:
        return { "or-assign", 2 };
    case NodeKind::XorAssign:
        return { "xor-assign", 2 };
    case NodeKind::ShlAssign:
        return { "shl-assign", 2 };
    case NodeKind::ShrAssign:
        return { "shr-assign", 2 };
    case NodeKind::PreIncrement:
        return { "pre-inc", 1 };
    case NodeKind::PreDecrement:
        return { "pre-dec", 1 };
    case NodeKind::PostIncrement:
        return { "post-inc", 1 };
    case NodeKind::PostDecrement:
        return { "post-dec", 1 };
    case NodeKind::Equal:
        return { "eq", 2 };
    case NodeKind::NotEqual:
        return { "ne", 2 };
    case NodeKind::Less:
        return { "lt", 2 };
    case NodeKind::LessEqual:
        return { "le", 2 };
    case NodeKind::GreaterEqual:
        return { "ge", 2 };
    case NodeKind::Greater:
        return { "gt", 2 };
    case NodeKind::Add:
        return { "add", 2 };
    case NodeKind::Subtract:
        return { "sub", 2 };
    case NodeKind::Multiply:
        return { "mul", 2 };
    case NodeKind::Divide:
        return { "div", 2 };
    case NodeKind::Remainder:
        return { "mod", 2 };
    case NodeKind::BitwiseAnd:
        return { "bit-and", 2 };
    case NodeKind::BitwiseOr:
        return { "bit-or", 2 };
    case NodeKind::BitwiseXor:
        return { "bit-xor", 2 };
    case NodeKind::LogicalAnd:
        return { "and", 2 };
    case NodeKind::LogicalOr:
        return { "or", 2 };
    case NodeKind::ShiftLeft:
        return { "shl", 2 };
    case NodeKind::ShiftRight:
        return { "shr", 2 };
    case NodeKind::Conditional:
        return { "cond", 3 };
    case NodeKind::New:
        return { "new", 1 };
    case NodeKind::Call:
        return { "call", 1 };
    case NodeKind::Constructor:
        return { "ctor", 1 };
    case NodeKind::MethodCall:
        return { "method", 2 };
    case NodeKind::Member:
        return { "member", 2 };
    case NodeKind::Index:
        return { "index", 2 };
    default:
        return { "?", 4 };
    }
}

void appendLeaf(std::string& out, const SyntaxNode& node)
{
    char buffer[32];
    switch (node.kind) {
    case NodeKind::Identifier:
        out += node.text;
        break;
    case NodeKind::IntegerLiteral:
        out += std::to_string(node.integer);
        break;
    case NodeKind::FloatLiteral: {
        auto end = std::to_chars(buffer, buffer + sizeof buffer, node.number).ptr;
        std::string_view digits(buffer, size_t(end - buffer));
        out += digits;
        if (digits.find_first_of(".einEIN") == std::string_view::npos)
            out += ".0";
        break;
    }
    default: // StringLiteral
        out += '"';
        for (char c : node.text) {
            auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (byte < 32 || byte > 126) {
                std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
                out += buffer;
            } else {
                out += c;
            }
        }
        out += '"';
        break;
    }
}

} // namespace

// Iterative, so that trees nested thousands of levels deep dump without deep recursion.
std::string dumpTree(const SyntaxNode* root)
{
    struct Item {
        const SyntaxNode* node;
        const char* literal; // printed instead of a node when set
    };
    std::string out;
    std::vector<Item> work { { root, nullptr } };
    std::vector<const SyntaxNode*> children;
    while (!work.empty()) {
        Item item = work.back();
        work.pop_back();
        if (item.literal) {
            out += item.literal;
            continue;
        }
        const SyntaxNode* node = item.node;
        if (!node) {
            out += "nil";
            continue;
        }
        if (node->isLeaf()) {
            appendLeaf(out, *node);
            continue;
        }
        KindInfo info = kindInfo(node->kind);
        children.assign(node->child, node->child + info.children);
        children.insert(children.end(), node->list.begin(), node->list.end());
        out += '(';
        out += info.name;
        work.push_back({ nullptr, ")" });
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            work.push_back({ *it, nullptr });
            work.push_back({ nullptr, " " });
        }
    }
    return out;
}

std::string dumpFunction(const FunctionDef& function)
{
    std::string out = "(function " + dumpTree(function.name) + " (";
    for (size_t i = 0; i < function.parameters.size(); ++i) {
        if (i)
            out += ' ';
        out += dumpTree(function.parameters[i]);
    }
    out += ") " + dumpTree(function.body) + ")";
    return out;
}

} // namespace vorpane::script
