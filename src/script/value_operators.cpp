// The operators of script values. The left operand's kind (after following references) picks the
// rule; the right operand is converted to what that rule needs. Integer arithmetic wraps in 32 bits
// and is done in unsigned arithmetic, so no overflow is undefined.

#include "script/script_object.h"
#include "script/script_value.h"
#include "script/step_budget.h"

#include <cmath>
#include <new>

namespace vorpane::script {

namespace {

constexpr int kShiftMask = 31;

bool isStringWithinOneReference(const ScriptValue& v)
{
    if (v.kind() == ValueKind::String)
        return true;
    const ScriptValue* target = v.referenceTarget();
    return target && target->kind() == ValueKind::String;
}

ScriptValue concatenate(const ScriptValue& left, const ScriptValue& right)
{
    std::string text;
    try {
        left.appendText(text);
        right.appendText(text);
    } catch (const std::bad_alloc&) {
        raiseError(ErrOutOfMemory);
    }
    if (!spendSteps(text.size() / kTextBytesPerStep))
        raiseError(ErrOutOfMemory); // the run has stopped silently: this only unwinds
    return ScriptValue(std::string_view(text));
}

int32_t wrapInt(uint32_t bits) { return int32_t(bits); }

// "+", "-", "*", "/" for a left Integer (or Null as 0): float arithmetic when the right operand
// is a Float, else wrapping 32-bit arithmetic whose result becomes a Float.
ScriptValue integerArithmetic(BinaryOp op, int32_t left, const ScriptValue& right)
{
    if (right.effectiveKind() == ValueKind::Float) {
        double l = left, r = right.toFloat();
        switch (op) {
        case BinaryOp::Add:
            return ScriptValue(l + r);
        case BinaryOp::Subtract:
            return ScriptValue(l - r);
        case BinaryOp::Multiply:
            return ScriptValue(l * r);
        default:
            return ScriptValue(l / r);
        }
    }
    uint32_t l = uint32_t(left), r = uint32_t(right.toInteger());
    switch (op) {
    case BinaryOp::Add:
        return ScriptValue(double(wrapInt(l + r)));
    case BinaryOp::Subtract:
        return ScriptValue(double(wrapInt(l - r)));
    case BinaryOp::Multiply:
        return ScriptValue(double(wrapInt(l * r)));
    default: {
        int32_t divisor = int32_t(r);
        if (divisor == 0)
            raiseError(ErrDivideByZero);
        if (divisor == -1)
            return ScriptValue(double(wrapInt(0u - l)));
        return ScriptValue(double(left / divisor));
    }
    }
}

ScriptValue unsignedArithmetic(BinaryOp op, uint32_t left, const ScriptValue& right)
{
    if (right.effectiveKind() == ValueKind::Float) {
        double l = left, r = right.toFloat();
        switch (op) {
        case BinaryOp::Add:
            return ScriptValue(l + r);
        case BinaryOp::Subtract:
            return ScriptValue(l - r);
        case BinaryOp::Multiply:
            return ScriptValue(l * r);
        default:
            return ScriptValue(l / r);
        }
    }
    uint32_t r = right.toUnsigned();
    switch (op) {
    case BinaryOp::Add:
        return ScriptValue(double(left + r));
    case BinaryOp::Subtract:
        return ScriptValue(double(left - r));
    case BinaryOp::Multiply:
        return ScriptValue(double(left * r));
    default:
        if (r == 0)
            raiseError(ErrDivideByZero);
        return ScriptValue(double(left / r));
    }
}

ScriptValue floatArithmetic(BinaryOp op, double left, double right)
{
    switch (op) {
    case BinaryOp::Add:
        return ScriptValue(left + right);
    case BinaryOp::Subtract:
        return ScriptValue(left - right);
    case BinaryOp::Multiply:
        return ScriptValue(left * right);
    default:
        return ScriptValue(left / right);
    }
}

int32_t integerBitwise(BinaryOp op, int32_t left, int32_t right)
{
    uint32_t l = uint32_t(left), r = uint32_t(right);
    switch (op) {
    case BinaryOp::BitAnd:
        return int32_t(l & r);
    case BinaryOp::BitOr:
        return int32_t(l | r);
    case BinaryOp::BitXor:
        return int32_t(l ^ r);
    case BinaryOp::ShiftLeft:
        return int32_t(l << (r & kShiftMask));
    default: // ShiftRight keeps the sign
        return left >> (r & kShiftMask);
    }
}

uint32_t unsignedBitwise(BinaryOp op, uint32_t left, uint32_t right)
{
    switch (op) {
    case BinaryOp::BitAnd:
        return left & right;
    case BinaryOp::BitOr:
        return left | right;
    case BinaryOp::BitXor:
        return left ^ right;
    case BinaryOp::ShiftLeft:
        return left << (right & kShiftMask);
    default:
        return left >> (right & kShiftMask);
    }
}

template <typename T> int compare(BinaryOp op, T l, T r)
{
    switch (op) {
    case BinaryOp::Equal:
        return l == r;
    case BinaryOp::NotEqual:
        return l != r;
    case BinaryOp::Less:
        return l < r;
    case BinaryOp::LessEqual:
        return l <= r;
    case BinaryOp::GreaterEqual:
        return l >= r;
    default:
        return l > r;
    }
}

int compareTexts(BinaryOp op, std::string_view left, const std::string& right)
{
    // std::string_view compares bytes as unsigned char, case-sensitively.
    return compare(op, left, std::string_view(right));
}

ScriptValue nullRule(BinaryOp op, const ScriptValue& right)
{
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
        return integerArithmetic(op, 0, right);
    case BinaryOp::BitAnd:
    case BinaryOp::BitOr:
    case BinaryOp::BitXor:
        return ScriptValue(integerBitwise(op, 0, right.toInteger()));
    case BinaryOp::Equal:
        return ScriptValue(int32_t(right.isNull()));
    case BinaryOp::NotEqual:
        return ScriptValue(int32_t(!right.isNull()));
    case BinaryOp::LogicalOr:
        return ScriptValue(right.toInteger());
    default:
        return ScriptValue(0);
    }
}

ScriptValue stringRule(BinaryOp op, std::string_view left, const ScriptValue& right)
{
    switch (op) {
    case BinaryOp::Divide:
        return ScriptValue(0);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::LessEqual:
    case BinaryOp::GreaterEqual:
    case BinaryOp::Greater:
        return ScriptValue(int32_t(compareTexts(op, left, right.toText())));
    default:
        raiseError(ErrStringOperator);
    }
}

ScriptValue integerRule(BinaryOp op, int32_t left, const ScriptValue& right)
{
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
        return integerArithmetic(op, left, right);
    case BinaryOp::Remainder: {
        int32_t r = right.toInteger();
        if (r == 0)
            raiseError(ErrDivideByZero);
        return ScriptValue(r == -1 ? 0 : left % r);
    }
    case BinaryOp::LogicalAnd:
        return ScriptValue(int32_t(left != 0 && right.toInteger() != 0));
    case BinaryOp::LogicalOr:
        return ScriptValue(int32_t(left != 0 || right.toInteger() != 0));
    case BinaryOp::BitAnd:
    case BinaryOp::BitOr:
    case BinaryOp::BitXor:
    case BinaryOp::ShiftLeft:
    case BinaryOp::ShiftRight:
        return ScriptValue(integerBitwise(op, left, right.toInteger()));
    default:
        return ScriptValue(int32_t(compare(op, left, right.toInteger())));
    }
}

ScriptValue unsignedRule(BinaryOp op, uint32_t left, const ScriptValue& right)
{
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
        return unsignedArithmetic(op, left, right);
    case BinaryOp::Remainder: {
        uint32_t r = right.toUnsigned();
        if (r == 0)
            raiseError(ErrDivideByZero);
        return ScriptValue(left % r);
    }
    case BinaryOp::LogicalAnd:
        return ScriptValue(int32_t(left != 0 && right.toUnsigned() != 0));
    case BinaryOp::LogicalOr:
        return ScriptValue(int32_t(left != 0 || right.toUnsigned() != 0));
    case BinaryOp::BitAnd:
    case BinaryOp::BitOr:
    case BinaryOp::BitXor:
        return ScriptValue(unsignedBitwise(op, left, right.toUnsigned()));
    case BinaryOp::ShiftLeft:
    case BinaryOp::ShiftRight:
        return ScriptValue(unsignedBitwise(op, left, uint32_t(right.toInteger())));
    default:
        return ScriptValue(int32_t(compare(op, left, right.toUnsigned())));
    }
}

ScriptValue floatRule(BinaryOp op, double left, const ScriptValue& right)
{
    switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
        return floatArithmetic(op, left, right.toFloat());
    case BinaryOp::Remainder: {
        double r = right.toFloat();
        if (r == 0.0)
            raiseError(ErrDivideByZero);
        return ScriptValue(std::fmod(left, r));
    }
    case BinaryOp::LogicalAnd:
        return ScriptValue(int32_t(left != 0.0 && right.toFloat() != 0.0));
    case BinaryOp::LogicalOr:
        return ScriptValue(int32_t(left != 0.0 || right.toFloat() != 0.0));
    case BinaryOp::BitAnd:
    case BinaryOp::BitOr:
    case BinaryOp::BitXor:
    case BinaryOp::ShiftLeft:
    case BinaryOp::ShiftRight:
        return ScriptValue(integerBitwise(op, ScriptValue(left).toInteger(), right.toInteger()));
    default:
        return ScriptValue(int32_t(compare(op, left, right.toFloat())));
    }
}

ScriptValue objectRule(BinaryOp op, ScriptObject& object, const ScriptValue& right)
{
    ScriptValue result;
    switch (op) {
    case BinaryOp::Add:
        object.add(result, right);
        break;
    case BinaryOp::Subtract:
        object.subtract(result, right);
        break;
    case BinaryOp::Multiply:
        object.multiply(result, right);
        break;
    case BinaryOp::Divide:
        object.divide(result, right);
        break;
    case BinaryOp::Remainder:
        object.remainder(result, right);
        break;
    case BinaryOp::BitAnd:
        object.bitAnd(result, right);
        break;
    case BinaryOp::BitOr:
        object.bitOr(result, right);
        break;
    case BinaryOp::BitXor:
        object.bitXor(result, right);
        break;
    case BinaryOp::ShiftLeft:
        object.shiftLeft(result, right);
        break;
    case BinaryOp::ShiftRight:
        object.shiftRight(result, right);
        break;
    case BinaryOp::LogicalAnd:
        return ScriptValue(int32_t(object.logicalAnd(right)));
    case BinaryOp::LogicalOr:
        return ScriptValue(int32_t(object.logicalOr(right)));
    case BinaryOp::Equal:
        return ScriptValue(int32_t(object.equals(right)));
    case BinaryOp::NotEqual:
        return ScriptValue(int32_t(object.notEquals(right)));
    case BinaryOp::Less:
        return ScriptValue(int32_t(object.less(right)));
    case BinaryOp::LessEqual:
        return ScriptValue(int32_t(object.lessEqual(right)));
    case BinaryOp::GreaterEqual:
        return ScriptValue(int32_t(object.greaterEqual(right)));
    case BinaryOp::Greater:
        return ScriptValue(int32_t(object.greater(right)));
    }
    return result;
}

} // namespace

ScriptValue binaryOperation(BinaryOp op, const ScriptValue& left, const ScriptValue& right)
{
    if (op == BinaryOp::Add && (isStringWithinOneReference(left) || isStringWithinOneReference(right)))
        return concatenate(left, right);
    // The divisor of "/" is checked before the left operand is looked at.
    if (op == BinaryOp::Divide && right.toFloat() == 0.0)
        raiseError(ErrDivideByZero);

    const ScriptValue& l = left.deref();
    switch (l.kind()) {
    case ValueKind::Null:
        return nullRule(op, right);
    case ValueKind::String:
        if (op == BinaryOp::Add)
            return concatenate(left, right);
        return stringRule(op, l.stringValue(), right);
    case ValueKind::Integer:
        return integerRule(op, l.integerValue(), right);
    case ValueKind::Unsigned:
        return unsignedRule(op, l.unsignedValue(), right);
    case ValueKind::Float:
        return floatRule(op, l.floatValue(), right);
    case ValueKind::Object: {
        // Keep the object alive even if an operation drops the last value holding it.
        ScriptValue hold(l);
        return objectRule(op, *hold.objectValue(), right);
    }
    case ValueKind::Reference:
        break;
    }
    return ScriptValue(0);
}

ScriptValue unaryOperation(UnaryOp op, const ScriptValue& operand)
{
    const ScriptValue& v = operand.deref();
    switch (v.kind()) {
    case ValueKind::Null:
        return ScriptValue(op == UnaryOp::Negate ? 0 : op == UnaryOp::LogicalNot ? 1 : -1);
    case ValueKind::String:
        raiseError(ErrStringOperator);
    case ValueKind::Integer:
    case ValueKind::Unsigned: {
        uint32_t bits = v.unsignedValue();
        switch (op) {
        case UnaryOp::Negate:
            return ScriptValue(wrapInt(0u - bits));
        case UnaryOp::LogicalNot:
            return ScriptValue(int32_t(bits == 0));
        case UnaryOp::BitwiseNot:
            return v.kind() == ValueKind::Integer ? ScriptValue(wrapInt(~bits)) : ScriptValue(~bits);
        }
        break;
    }
    case ValueKind::Float:
        switch (op) {
        case UnaryOp::Negate:
            return ScriptValue(-v.floatValue());
        case UnaryOp::LogicalNot:
            return ScriptValue(int32_t(v.toInteger() == 0));
        case UnaryOp::BitwiseNot:
            return ScriptValue(~uint32_t(v.toInteger()));
        }
        break;
    case ValueKind::Object: {
        ScriptValue hold(v);
        ScriptValue result;
        ScriptObject* object = hold.objectValue();
        switch (op) {
        case UnaryOp::Negate:
            object->negate(result);
            break;
        case UnaryOp::LogicalNot:
            object->logicalNot(result);
            break;
        case UnaryOp::BitwiseNot:
            object->bitNot(result);
            break;
        }
        return result;
    }
    case ValueKind::Reference:
        break;
    }
    return ScriptValue(0);
}

namespace {

// The storage behind a target, checking every read-only flag on the way.
ScriptValue& writableStorage(ScriptValue& target)
{
    ScriptValue* v = &target;
    while (v->kind() == ValueKind::Reference) {
        if (v->isReadOnly())
            raiseError(ErrReadOnly);
        ScriptValue* next = v->referenceTarget();
        if (!next)
            raiseError(ErrReadOnly);
        v = next;
    }
    if (v->isReadOnly())
        raiseError(ErrReadOnly);
    return *v;
}

void step(ScriptValue& target, int delta)
{
    ScriptValue& v = writableStorage(target);
    switch (v.kind()) {
    case ValueKind::Null:
        v.setInteger(delta);
        break;
    case ValueKind::String:
        raiseError(ErrStringOperator);
    case ValueKind::Integer:
        v.setInteger(wrapInt(uint32_t(v.integerValue()) + uint32_t(delta)));
        break;
    case ValueKind::Unsigned:
        v.setUnsigned(v.unsignedValue() + uint32_t(delta));
        break;
    case ValueKind::Float:
        v.setFloat(v.floatValue() + delta);
        break;
    case ValueKind::Object: {
        ScriptValue hold(v);
        if (delta > 0)
            hold.objectValue()->increment();
        else
            hold.objectValue()->decrement();
        break;
    }
    case ValueKind::Reference:
        break;
    }
}

} // namespace

void incrementValue(ScriptValue& target) { step(target, 1); }

void decrementValue(ScriptValue& target) { step(target, -1); }

void shiftAssign(ScriptValue& target, const ScriptValue& count, bool left)
{
    int32_t n = count.toInteger();
    ScriptValue& v = writableStorage(target);
    BinaryOp op = left ? BinaryOp::ShiftLeft : BinaryOp::ShiftRight;
    switch (v.kind()) {
    case ValueKind::String:
        raiseError(ErrStringOperator);
    case ValueKind::Object: {
        ScriptValue hold(v);
        if (left)
            hold.objectValue()->shiftLeftAssign(count);
        else
            hold.objectValue()->shiftRightAssign(count);
        break;
    }
    case ValueKind::Unsigned:
        v.setUnsigned(unsignedBitwise(op, v.unsignedValue(), uint32_t(n)));
        break;
    default: // Null counts as 0, a Float by its truncated value
        v.setInteger(integerBitwise(op, v.toInteger(), n));
        break;
    }
}

} // namespace vorpane::script
