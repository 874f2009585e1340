// Builds the interpreter's Ops from a parse: one Op per node, children linked, statement and
// declaration lists flattened. Iterative throughout, so the depth of the tree does not matter.

#include "script/op_tree.h"

#include <algorithm>

namespace vorpane::script {

void ScriptInterpreter::buildOps()
{
    m_nothing = std::make_unique<Op>();
    m_nothing->run = &OpHandlers::constant;
    m_nothing->leaf = OpLeaf::Constant;

    const auto& nodes = m_tree.nodes;
    size_t identifiers = 0;
    for (const auto& node : nodes)
        identifiers += node->kind == NodeKind::Identifier;
    // Ops and slots point at each other: both are sized once and never move.
    m_nameSlots.reserve(identifiers);
    m_ops = std::vector<Op>(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        m_ops[i].node = nodes[i].get();
        nodes[i]->cacheOwner = &m_ops[i];
        nodes[i]->cacheIndex = int32_t(i);
    }
    const Op* first = m_ops.data();
    const Op* last = first + m_ops.size();
    auto opOf = [&](const SyntaxNode* node) -> const Op* {
        if (!node)
            return m_nothing.get();
        auto op = static_cast<const Op*>(node->cacheOwner);
        return op >= first && op < last ? op : m_nothing.get();
    };

    for (Op& op : m_ops) {
        const SyntaxNode* node = op.node;
        op.run = OpHandlers::handlerFor(node->kind);
        switch (node->kind) {
        case NodeKind::Identifier: {
            NameSlot slot;
            slot.nameId = internName(node->text);
            op.name = &m_nameSlots.emplace_back(slot);
            op.leaf = OpLeaf::Name;
            continue;
        }
        case NodeKind::StringLiteral:
            op.constant = ScriptValue(std::string_view(node->text));
            op.leaf = OpLeaf::Constant;
            continue;
        case NodeKind::IntegerLiteral:
            op.constant = ScriptValue(node->integer);
            op.leaf = OpLeaf::Constant;
            continue;
        case NodeKind::FloatLiteral:
            op.constant = ScriptValue(node->number);
            op.leaf = OpLeaf::Constant;
            continue;
        case NodeKind::Sequence: {
            const SyntaxNode* link = node;
            for (; link && link->kind == NodeKind::Sequence; link = link->child[1])
                op.list.push_back(opOf(link->child[0]));
            if (link)
                op.list.push_back(opOf(link));
            continue;
        }
        case NodeKind::VarList:
            for (const SyntaxNode* link = node; link; link = link->child[1]) {
                if (link->kind != NodeKind::VarList) {
                    op.list.push_back(opOf(link));
                    break;
                }
                op.list.push_back(opOf(link->child[0]));
            }
            continue;
        default:
            break;
        }
        for (int i = 0; i < 4; ++i)
            op.child[i] = opOf(node->child[i]);
        for (const SyntaxNode* item : node->list)
            op.list.push_back(opOf(item));
    }

    // Calls find their function once; the names are interned by now.
    for (Op& op : m_ops) {
        OpHandlers::specialize(op);
        if (op.node->kind == NodeKind::Call && op.child[0]->name)
            op.function = m_functionById[size_t(op.child[0]->name->nameId)];
    }
    for (Op& op : m_ops)
        OpHandlers::fuseAssignment(op);
    for (auto& frame : m_frames) {
        frame->body = opOf(frame->def->body);
        collectLocalNames(*frame);
    }
}

// Every name a declaration in the body declares, in source order (an explicit stack, no
// recursion).
void ScriptInterpreter::collectLocalNames(FunctionFrame& frame)
{
    std::vector<const Op*> pending { frame.body };
    while (!pending.empty()) {
        const Op* op = pending.back();
        pending.pop_back();
        if (op->node && op->node->kind == NodeKind::Declarator && op->child[0] && op->child[0]->name) {
            int32_t id = op->child[0]->name->nameId;
            if (std::find(frame.localNames.begin(), frame.localNames.end(), id) == frame.localNames.end())
                frame.localNames.push_back(id);
        }
        for (auto it = op->list.rbegin(); it != op->list.rend(); ++it)
            pending.push_back(*it);
        for (int i = 3; i >= 0; --i)
            if (op->child[i])
                pending.push_back(op->child[i]);
    }
}

} // namespace vorpane::script
