#pragma once
// What the evaluator's three tiers share, inline wherever it is used: the arithmetic of numbers
// done without the general value rules, the comparison of leaves, the binary operator handlers
// (which the fused assignments run inline) and the store of an assignment. Internal to the
// interpreter: included by interpreter_operands.cpp, interpreter_fused.cpp and
// interpreter_statements.cpp only.

#include "script/op_tree.h"

#include <cmath>

namespace vorpane::script {

// Internal linkage, as in one file: each tier inlines these as freely as if they were its own.
// numericBinary and floatRemainder are forced besides: in the smaller files the compiler kept
// out-of-line copies of them in the fused computes, which it never did in one file.
namespace {

template <BinaryOp OP, typename T> inline int compareNumbers(T a, T b)
{
    switch (OP) {
    case BinaryOp::Equal:
        return a == b;
    case BinaryOp::NotEqual:
        return a != b;
    case BinaryOp::Less:
        return a < b;
    case BinaryOp::LessEqual:
        return a <= b;
    case BinaryOp::GreaterEqual:
        return a >= b;
    default:
        return a > b;
    }
}

// Conditions of "if", "while" and "?:".
inline bool truth(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    return v.kind() == ValueKind::Integer ? v.integerValue() != 0 : v.toInteger() != 0;
}

// The condition of "for" is compared with Integer 0 by "!=".
inline bool forCondition(const ScriptValue& value)
{
    const ScriptValue& v = value.deref();
    if (v.kind() == ValueKind::Integer)
        return v.integerValue() != 0;
    return binaryOperation(BinaryOp::NotEqual, value, ScriptValue(0)).toInteger() != 0;
}

inline int32_t wrapped(uint32_t bits) { return int32_t(bits); }

inline bool isNumberKind(ValueKind kind)
{
    return kind == ValueKind::Integer || kind == ValueKind::Float || kind == ValueKind::Unsigned;
}

inline bool isNumberOrNull(const ScriptValue& v)
{
    return v.kind() <= ValueKind::Float && v.kind() != ValueKind::String;
}

// fmod, with positive whole numbers below 2^53 done in integers, where the remainder is exact
// (negative ones are left to fmod for the sign of a zero result).
[[gnu::always_inline]] inline double floatRemainder(double a, double b)
{
    constexpr double kExact = 9007199254740992.0; // 2^53
    if (a > 0.0 && b > 0.0 && a < kExact && b < kExact) {
        auto ia = int64_t(a), ib = int64_t(b);
        if (double(ia) == a && double(ib) == b) {
            // A 32-bit division where both fit takes a fraction of the time of a 64-bit one.
            if (uint64_t(ia | ib) <= UINT32_MAX)
                return double(uint32_t(ia) % uint32_t(ib));
            return double(ia % ib);
        }
    }
    return std::fmod(a, b);
}

// Numbers of the common kinds, without the general rules; false when the rules must decide.
// out holds nothing to release (a fresh value or a writable number).
template <BinaryOp OP>
[[gnu::always_inline]] inline bool numericBinary(const ScriptValue& l, const ScriptValue& r, ScriptValue& out)
{
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Integer) {
        int32_t a = l.integerValue(), b = r.integerValue();
        switch (OP) {
        case BinaryOp::Add:
            out.overwriteFloat(double(wrapped(uint32_t(a) + uint32_t(b))));
            return true;
        case BinaryOp::Subtract:
            out.overwriteFloat(double(wrapped(uint32_t(a) - uint32_t(b))));
            return true;
        case BinaryOp::Multiply:
            out.overwriteFloat(double(wrapped(uint32_t(a) * uint32_t(b))));
            return true;
        case BinaryOp::Equal:
            out.overwriteInteger(int32_t(a == b));
            return true;
        case BinaryOp::NotEqual:
            out.overwriteInteger(int32_t(a != b));
            return true;
        case BinaryOp::Less:
            out.overwriteInteger(int32_t(a < b));
            return true;
        case BinaryOp::LessEqual:
            out.overwriteInteger(int32_t(a <= b));
            return true;
        case BinaryOp::GreaterEqual:
            out.overwriteInteger(int32_t(a >= b));
            return true;
        case BinaryOp::Greater:
            out.overwriteInteger(int32_t(a > b));
            return true;
        case BinaryOp::Remainder:
            if (b <= 0)
                return false;
            out.overwriteInteger(a % b);
            return true;
        case BinaryOp::Divide:
            // Integer division; -1 wraps, 0 is left to the general rules' message.
            if (b == 0)
                return false;
            out.overwriteFloat(double(b == -1 ? wrapped(0u - uint32_t(a)) : a / b));
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Float && (r.kind() == ValueKind::Float || r.kind() == ValueKind::Integer)) {
        double a = l.floatValue();
        double b = r.kind() == ValueKind::Float ? r.floatValue() : double(r.integerValue());
        switch (OP) {
        case BinaryOp::Divide:
            if (b == 0.0)
                return false;
            out.overwriteFloat(a / b);
            return true;
        case BinaryOp::Remainder:
            if (b == 0.0)
                return false;
            out.overwriteFloat(floatRemainder(a, b));
            return true;
        case BinaryOp::Add:
            out.overwriteFloat(a + b);
            return true;
        case BinaryOp::Subtract:
            out.overwriteFloat(a - b);
            return true;
        case BinaryOp::Multiply:
            out.overwriteFloat(a * b);
            return true;
        case BinaryOp::Equal:
            out.overwriteInteger(int32_t(a == b));
            return true;
        case BinaryOp::NotEqual:
            out.overwriteInteger(int32_t(a != b));
            return true;
        case BinaryOp::Less:
            out.overwriteInteger(int32_t(a < b));
            return true;
        case BinaryOp::LessEqual:
            out.overwriteInteger(int32_t(a <= b));
            return true;
        case BinaryOp::GreaterEqual:
            out.overwriteInteger(int32_t(a >= b));
            return true;
        case BinaryOp::Greater:
            out.overwriteInteger(int32_t(a > b));
            return true;
        default:
            return false;
        }
    }
    if (l.kind() == ValueKind::Integer && r.kind() == ValueKind::Float) {
        // Only arithmetic: comparisons of an Integer convert the right side to integer.
        double a = l.integerValue(), b = r.floatValue();
        switch (OP) {
        case BinaryOp::Divide:
            if (b == 0.0)
                return false;
            out.overwriteFloat(a / b);
            return true;
        case BinaryOp::Add:
            out.overwriteFloat(a + b);
            return true;
        case BinaryOp::Subtract:
            out.overwriteFloat(a - b);
            return true;
        case BinaryOp::Multiply:
            out.overwriteFloat(a * b);
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

// A comparison of two numbers in names or literals, decided without making its value; -1 when
// it has to be evaluated the general way. One instance per operator, chosen when the Ops are built.
template <BinaryOp OP>
[[gnu::always_inline]] inline int OpHandlers::compareLeaves(ScriptInterpreter& in, const Op& condition)
{
    if (in.pending())
        return -1;
    const ScriptValue* right;
    const ScriptValue* left;
    if (condition.placed) [[likely]] {
        right = valueAt(condition.place[2]);
        left = valueAt(condition.place[1]);
    } else {
        right = in.peek(*condition.child[1]);
        left = right ? in.peek(*condition.child[0]) : nullptr;
    }
    if (!left || !right)
        return -1;
    ValueKind lk = left->kind(), rk = right->kind();
    if (lk == ValueKind::Integer && rk == ValueKind::Integer)
        return compareNumbers<OP>(left->integerValue(), right->integerValue());
    // A Float on the left compares with the right side as a float.
    if (lk == ValueKind::Float && rk == ValueKind::Float)
        return compareNumbers<OP>(left->floatValue(), right->floatValue());
    if (lk == ValueKind::Float && rk == ValueKind::Integer)
        return compareNumbers<OP>(left->floatValue(), double(right->integerValue()));
    return -1;
}

[[gnu::always_inline]] inline bool OpHandlers::quickComparison(
    ScriptInterpreter& in, const Op& condition, bool& result)
{
    if (!condition.quickTest)
        return false;
    int decided = condition.quickTest(in, condition);
    result = decided > 0;
    return decided >= 0;
}

// Both operands are evaluated, the right one first; then the operator.
// Inlined into the fused assignments; the pointer to it is an out-of-line copy.
template <BinaryOp OP>
[[gnu::always_inline]] inline ScriptValue OpHandlers::binary(ScriptInterpreter& in, const Op& op)
try {
    ScriptValue rightTemp, leftTemp;
    const ScriptValue& right = in.read(*op.child[1], rightTemp);
    const ScriptValue& left = in.read(*op.child[0], leftTemp);
    if (in.m_flags.abort)
        return ScriptValue();
    ScriptValue out;
    if (numericBinary<OP>(left.deref(), right.deref(), out))
        return out;
    return binaryOperation(OP, left, right);
} catch (const ScriptError& error) {
    return failed(in, op, error);
}

// Out of line, so that the callers' fast paths stay small.
template <BinaryOp OP> [[gnu::noinline]] static ScriptValue generalBinary(ScriptInterpreter& in, const Op& op)
{
    return OpHandlers::binary<OP>(in, op);
}

// Both operands are names or literals: numbers are read in place.
template <BinaryOp OP> ScriptValue OpHandlers::binaryOfLeaves(ScriptInterpreter& in, const Op& op)
{
    const ScriptValue* right;
    const ScriptValue* left;
    if (op.placed) [[likely]] {
        right = valueAt(op.place[2]);
        left = valueAt(op.place[1]);
    } else {
        right = in.peek(*op.child[1]);
        left = right ? in.peek(*op.child[0]) : nullptr;
    }
    if (left && right) {
        ScriptValue out;
        if (numericBinary<OP>(*left, *right, out))
            return out;
    }
    return generalBinary<OP>(in, op);
}
// The rest of an assignment once its value is known: the value is stored in the target, and the
// assignment's own value is the target.
[[gnu::always_inline]] inline ScriptValue OpHandlers::store(
    ScriptInterpreter& in, const Op& op, const ScriptValue& value)
{
    const Op& targetOp = *op.child[0];
    if (targetOp.leaf == OpLeaf::Name && !in.pending()) {
        ScriptValue* storage = in.lookup(*targetOp.name);
        const ScriptValue& v = value.deref();
        if (storage && !storage->isReadOnly() && isNumberOrNull(*storage) && isNumberOrNull(v)) {
            *storage = v;
            return ScriptValue::reference(storage);
        }
    }
    ScriptValue target = OpHandlers::target(in, targetOp);
    if (in.m_flags.abort)
        return ScriptValue();
    target.assign(value);
    return target;
}

// Defined with the operands; the other tiers compare handlers with them.
extern template ScriptValue OpHandlers::unary<UnaryOp::Negate>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::unary<UnaryOp::LogicalNot>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::unary<UnaryOp::BitwiseNot>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::step<true, true>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::step<true, false>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::step<false, true>(ScriptInterpreter&, const Op&);
extern template ScriptValue OpHandlers::step<false, false>(ScriptInterpreter&, const Op&);

} // namespace vorpane::script
