// Base behaviour of every ScriptObject operation: what an object gets for what it does not define.

#include "script/script_object.h"

#include <limits>
#include <vector>

namespace vorpane::script {

namespace {

ScriptValue notANumber() { return ScriptValue(std::numeric_limits<double>::quiet_NaN()); }

} // namespace

void ScriptObject::destroy() { delete this; }

void ScriptObject::destroyWhenSafe()
{
    thread_local std::vector<ScriptObject*>* waiting = nullptr;
    if (waiting) {
        waiting->push_back(this);
        return;
    }
    std::vector<ScriptObject*> queue;
    struct Draining {
        std::vector<ScriptObject*>*& waiting;
        ~Draining() { waiting = nullptr; }
    } draining { waiting };
    waiting = &queue;
    destroy();
    while (!queue.empty()) {
        ScriptObject* next = queue.back();
        queue.pop_back();
        next->destroy();
    }
}

int ScriptObject::callMember(const std::string&, ScriptValue*, int, ScriptValue&) { return CallNotFound; }

ScriptValue* ScriptObject::findMember(const std::string&) { return nullptr; }

int ScriptObject::equals(const ScriptValue& other) { return other.object() == this; }

int ScriptObject::notEquals(const ScriptValue& other)
{
    ScriptObject* object = other.object();
    return object && object != this;
}

int ScriptObject::less(const ScriptValue&) { return 0; }

int ScriptObject::lessEqual(const ScriptValue&) { return 0; }

int ScriptObject::greaterEqual(const ScriptValue&) { return 0; }

int ScriptObject::greater(const ScriptValue&) { return 0; }

int ScriptObject::logicalAnd(const ScriptValue&) { return 0; }

int ScriptObject::logicalOr(const ScriptValue&) { return 0; }

void ScriptObject::add(ScriptValue& result, const ScriptValue& other)
{
    std::string text = toText();
    other.appendText(text);
    result = ScriptValue(std::string_view(text));
}

void ScriptObject::negate(ScriptValue& result) { result = notANumber(); }

void ScriptObject::subtract(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::multiply(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::divide(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::remainder(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::bitAnd(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::bitOr(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::bitXor(ScriptValue& result, const ScriptValue&) { result = notANumber(); }

void ScriptObject::logicalNot(ScriptValue& result) { result = notANumber(); }

void ScriptObject::bitNot(ScriptValue& result) { result = notANumber(); }

void ScriptObject::increment() { raiseError(ErrObjectOperator); }

void ScriptObject::postIncrement() { raiseError(ErrObjectOperator); }

void ScriptObject::decrement() { raiseError(ErrObjectOperator); }

void ScriptObject::postDecrement() { raiseError(ErrObjectOperator); }

void ScriptObject::shiftLeft(ScriptValue&, const ScriptValue&) { raiseError(ErrObjectOperator); }

void ScriptObject::shiftRight(ScriptValue&, const ScriptValue&) { raiseError(ErrObjectOperator); }

ScriptValue* ScriptObject::element(uint32_t) { raiseError(ErrObjectOperator); }

void ScriptObject::shiftRightAssign(const ScriptValue&) { raiseError(ErrObjectOperator); }

void ScriptObject::shiftLeftAssign(const ScriptValue&) { raiseError(ErrObjectOperator); }

int32_t ScriptObject::toInteger() { return 0; }

uint32_t ScriptObject::toUnsigned() { return 0; }

double ScriptObject::toFloat() { return 0.0; }

std::string ScriptObject::toText() { return "[object]"; }

} // namespace vorpane::script
