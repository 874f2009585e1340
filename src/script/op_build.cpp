// Builds the interpreter's Ops from a parse: one Op per node, children linked, statement and
// declaration lists flattened. Iterative throughout, so the depth of the tree does not matter.

#include "script/op_tree.h"

#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace vorpane::script {

namespace {

// Calls visit(op, level) for root (level 0) and every Op below it, in source order: an Op, then
// its children, then its list. An explicit stack, no recursion.
template <typename Visit> void visitOps(const Op* root, Visit visit)
{
    std::vector<std::pair<const Op*, int>> pending { { root, 0 } };
    while (!pending.empty()) {
        auto [op, level] = pending.back();
        pending.pop_back();
        visit(op, level);
        for (auto it = op->list.rbegin(); it != op->list.rend(); ++it)
            pending.emplace_back(*it, level + 1);
        for (int i = 3; i >= 0; --i)
            if (op->child[i])
                pending.emplace_back(op->child[i], level + 1);
    }
}

bool isKind(const Op* op, NodeKind kind) { return op->node && op->node->kind == kind; }

// The declaration lists that open a body, in order, and how many of the body's statements they
// make up (several "var" statements form a sequence of their own, the first statement).
struct OpeningDeclarations {
    std::vector<const Op*> lists;
    size_t statements = 0;
};

OpeningDeclarations openingDeclarations(const Op* body)
{
    OpeningDeclarations opening;
    const std::vector<const Op*> statements
        = isKind(body, NodeKind::Sequence) ? body->list : std::vector<const Op*> { body };
    for (const Op* statement : statements) {
        if (isKind(statement, NodeKind::VarList)) {
            opening.lists.push_back(statement);
        } else if (opening.statements == 0 && isKind(statement, NodeKind::Sequence)) {
            for (const Op* item : statement->list) {
                if (!isKind(item, NodeKind::VarList))
                    return opening;
                opening.lists.push_back(item);
            }
        } else {
            return opening;
        }
        ++opening.statements;
    }
    return opening;
}

} // namespace

void ScriptInterpreter::buildOps()
{
    m_nothing = std::make_unique<Op>();
    m_nothing->run = &OpHandlers::constant;
    m_nothing->leaf = OpLeaf::Constant;

    const auto& nodes = m_tree->nodes;
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
            if (int32_t function = m_functionById[size_t(op.child[0]->name->nameId)]; function >= 0)
                op.function = m_frames[size_t(function)].get();
    }
    for (Op& op : m_ops) {
        OpHandlers::fuseAssignment(op);
        OpHandlers::specializeIf(op);
    }
    for (auto& frame : m_frames) {
        frame->body = opOf(frame->def->body);
        resolveNames(*frame);
        frame->parameterCount = frame->parameterIds.size();
        frame->recordSize = frame->parameterCount + frame->localNames.size();
        frame->resting.resize(frame->recordSize);
        frame->parameters = frame->resting.data();
        frame->locals = frame->parameters + frame->parameterIds.size();
    }
    // Operands found in place, the parameters calls take over, then computed operators and the
    // statements that use them. Only the kinds concerned are looked at: this runs for every
    // node of every script, most of which run once.
    std::vector<const Op*> pending;
    for (Op& op : m_ops) {
        const NodeKind kind = op.node->kind;
        if (kind == NodeKind::Call)
            OpHandlers::findInheritedParameters(op, pending);
        else if (kind == NodeKind::Assign || kind == NodeKind::Index
            || (kind >= NodeKind::Equal && kind <= NodeKind::Remainder))
            OpHandlers::placeOperands(*this, op);
    }
    for (Op& op : m_ops) {
        const NodeKind kind = op.node->kind;
        if (kind == NodeKind::Assign)
            OpHandlers::fuseComputedAssignment(*this, op);
        else if (kind == NodeKind::Return && op.run == &OpHandlers::returnValue)
            op.exec = &OpHandlers::execReturn;
        else if (kind == NodeKind::Negate || kind == NodeKind::Index
            || (kind >= NodeKind::Equal && kind <= NodeKind::Remainder))
            OpHandlers::prepareCompute(*this, op);
    }
    for (Op& op : m_ops) {
        if (op.run == &OpHandlers::varList && OpHandlers::declaresLocalsOnly(op))
            op.run = &OpHandlers::declareLocals;
        else if (op.node->kind == NodeKind::Call)
            OpHandlers::markArgumentsFirst(op, pending);
    }
    for (auto& frame : m_frames)
        skipPlainDeclarations(*frame);
    guardStack();
}

// When a body opens with declarations that have no initial values and name each local once,
// running them changes nothing anybody reads: a fresh local holds Integer 0, and its statements
// find it without checking whether it is declared. The body then starts after them.
void ScriptInterpreter::skipPlainDeclarations(FunctionFrame& frame)
{
    const Op* body = frame.body;
    const OpeningDeclarations opening = openingDeclarations(body);
    // Only when statements follow: a body of declarations alone keeps its value, Integer 0.
    if (opening.statements == 0 || !isKind(body, NodeKind::Sequence)
        || opening.statements >= body->list.size())
        return;
    std::unordered_set<int32_t> names;
    for (const Op* list : opening.lists) {
        if (list->run != &OpHandlers::declareLocals)
            return;
        for (const Op* declarator : list->list)
            if (!names.insert(declarator->child[0]->name->nameId).second)
                return; // declared twice: the second must report it
    }
    Op& sequence = m_ops[size_t(body - m_ops.data())];
    sequence.list.erase(sequence.list.begin(), sequence.list.begin() + ptrdiff_t(opening.statements));
}

// Every kGuardLevels-th level of nesting below a body checks the machine stack before its
// handler runs (calls always do), so a deeply nested expression reports instead of crashing.
void ScriptInterpreter::guardStack()
{
    constexpr int kGuardLevels = 16;
    const Op* first = m_ops.data();
    auto guard = [&](const Op* op, int level) {
        // (The shared stand-in for missing children is a leaf.)
        if (level > 0 && level % kGuardLevels == 0 && op->leaf == OpLeaf::None) {
            Op& guarded = m_ops[size_t(op - first)];
            guarded.guardedRun = guarded.run;
            guarded.run = &OpHandlers::guarded;
        }
    };
    if (m_tree->program)
        visitOps(static_cast<const Op*>(m_tree->program->cacheOwner), guard);
    for (const auto& frame : m_frames)
        visitOps(frame->body, guard);
}

// Gives the function its locals, every name a declaration of the body declares (in source
// order, parameters excepted), and points the body's identifiers at their places.
void ScriptInterpreter::resolveNames(FunctionFrame& frame)
{
    // Name id to the place among parameters (the first of repeated names: the one the body sees)
    // and locals.
    std::unordered_map<int32_t, std::pair<NamePlace, int32_t>> places;
    for (size_t i = 0; i < frame.parameterIds.size(); ++i)
        places.try_emplace(frame.parameterIds[i], NamePlace::Parameter, int32_t(i));

    std::vector<NameSlot*> slots;
    visitOps(frame.body, [&](const Op* op, int) {
        if (op->name)
            slots.push_back(op->name);
        if (op->node && op->node->kind == NodeKind::Declarator && op->child[0] && op->child[0]->name) {
            int32_t id = op->child[0]->name->nameId;
            if (places.try_emplace(id, NamePlace::Local, int32_t(frame.localNames.size())).second)
                frame.localNames.push_back(id);
        }
    });
    for (NameSlot* slot : slots) {
        slot->frame = &frame;
        auto found = places.find(slot->nameId);
        if (found != places.end()) {
            slot->place = found->second.first;
            slot->index = found->second.second;
        }
    }

    // The declaration lists that open the body run before anything else in every call: the
    // statements after them run only if those ended without stopping the call, so from there
    // on their names need no check that they are declared yet. (Inside the lists they do.)
    std::unordered_set<int32_t> leadingNames;
    std::unordered_set<const NameSlot*> insideLists;
    for (const Op* item : openingDeclarations(frame.body).lists) {
        for (const Op* declarator : item->list) {
            if (declarator->child[0] && declarator->child[0]->name)
                leadingNames.insert(declarator->child[0]->name->nameId);
        }
        visitOps(item, [&](const Op* op, int) {
            if (op->name)
                insideLists.insert(op->name);
        });
    }
    for (NameSlot* slot : slots) {
        if (slot->place == NamePlace::Local && leadingNames.count(slot->nameId) && !insideLists.count(slot))
            slot->place = NamePlace::LeadingLocal;
        if (slot->place != NamePlace::Global)
            slot->base = slot->place == NamePlace::Parameter ? &frame.parameters : &frame.locals;
    }
}

} // namespace vorpane::script
