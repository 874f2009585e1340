// ScriptValue storage, copies and conversions. The operators are in value_operators.cpp.

#include "script/script_value.h"

#include "script/memory_budget.h"
#include "script/script_object.h"
#include "script/value_text.h"

#include <cmath>
#include <new>

namespace vorpane::script {

// Reference chains are short (a name, then at most a registered reference); a longer one can only
// be a cycle made by a host, and reads as leading nowhere.
constexpr int kMaxReferenceHops = 16;

// `charged` is what the text counts against the run's memory budget (see memory_budget.h).
struct ScriptValue::StringData {
    int refCount;
    size_t charged;
    std::string text;
};

namespace {

const ScriptValue& nowhere()
{
    static const ScriptValue zero;
    return zero;
}

} // namespace

void raiseError(int code) { throw ScriptError(code); }

const char* errorMessage(int code)
{
    switch (code) {
    case ErrIntegerOperator:
    case ErrUnsignedOperator:
        return "Invalid operator for integers";
    case ErrFloatOperator:
        return "Invalid operator for floating point numbers";
    case ErrStringOperator:
        return "Invalid operator for strings";
    case ErrObjectOperator:
        return "Object does not support this operator";
    case ErrOutOfBounds:
        return "Array access out of bounds";
    case ErrReadOnly:
        return "Value cannot be modified";
    case ErrOutOfMemory:
        return "Out of memory";
    case ErrDivideByZero:
        return "Divide by zero";
    default:
        return nullptr;
    }
}

ScriptValue::ScriptValue(std::string_view text)
{
    if (text.size() > kMaxStringLength)
        raiseError(ErrOutOfMemory);
    const size_t charged = sizeof(StringData) + text.size();
    chargeMemory(charged);
    StringData* data;
    try {
        data = new StringData { 1, charged, std::string(text) };
    } catch (const std::bad_alloc&) {
        creditMemory(charged);
        raiseError(ErrOutOfMemory);
    }
    m_header = header(ValueKind::String);
    setWords(reinterpret_cast<uintptr_t>(data), 0);
}

ScriptValue::ScriptValue(ScriptObject* object)
{
    if (object) {
        m_header = header(ValueKind::Object);
        setWords(reinterpret_cast<uintptr_t>(object), 0);
        object->addRef();
    } else {
        setNumber(ValueKind::Null, 0);
    }
}

ScriptValue ScriptValue::null()
{
    ScriptValue v(Uninitialized {});
    v.setNumber(ValueKind::Null, 0);
    return v;
}

ScriptValue ScriptValue::reference(ScriptValue* target, ScriptObject* holder)
{
    ScriptValue v(Uninitialized {});
    v.m_header = header(ValueKind::Reference);
    v.setWords(reinterpret_cast<uintptr_t>(target), reinterpret_cast<uintptr_t>(holder));
    if (holder)
        holder->addRef();
    return v;
}

// After a copy of kind and payload: take this value's share or hold.
void ScriptValue::holdPayloadOf(const ScriptValue&)
{
    switch (kind()) {
    case ValueKind::String:
        ++m_payload.string->refCount;
        break;
    case ValueKind::Object:
        m_payload.object->addRef();
        break;
    case ValueKind::Reference:
        if (m_payload.ref.holder)
            m_payload.ref.holder->addRef();
        break;
    default:
        break;
    }
}

void ScriptValue::releasePayload()
{
    // The kind is reset first: releasing an object may run code that looks at this value again.
    ValueKind kind = this->kind();
    Payload payload = m_payload;
    setNumber(ValueKind::Integer, 0);
    switch (kind) {
    case ValueKind::String:
        if (--payload.string->refCount == 0) {
            creditMemory(payload.string->charged);
            delete payload.string;
        }
        break;
    case ValueKind::Object:
        payload.object->release();
        break;
    case ValueKind::Reference:
        if (payload.ref.holder)
            payload.ref.holder->release();
        break;
    default:
        break;
    }
}

ScriptValue& ScriptValue::copySlow(const ScriptValue& other)
{
    if (this != &other) {
        ScriptValue copy(other);
        moveSlow(std::move(copy));
    }
    return *this;
}

ScriptValue& ScriptValue::moveSlow(ScriptValue&& other) noexcept
{
    if (this != &other) {
        // Released only after the new value is in place: releasing may run an object's
        // destructor, which must find this value already consistent.
        ScriptValue old(std::move(*this));
        m_header = other.m_header;
        m_payload = other.m_payload;
        other.m_header = header(ValueKind::Integer);
    }
    return *this;
}

const ScriptValue& ScriptValue::derefSlow() const
{
    const ScriptValue* v = this;
    for (int hops = 0; hops < kMaxReferenceHops; ++hops) {
        if (v->kind() != ValueKind::Reference)
            return *v;
        v = v->m_payload.ref.target;
        if (!v)
            return nowhere();
    }
    return nowhere();
}

std::string* ScriptValue::unsharedText()
{
    if (kind() != ValueKind::String || isReadOnly() || m_payload.string->refCount != 1)
        return nullptr;
    return &m_payload.string->text;
}

void ScriptValue::appendToUnsharedText(std::string_view added)
{
    StringData& data = *m_payload.string;
    chargeMemory(added.size());
    try {
        data.text.append(added);
    } catch (const std::bad_alloc&) {
        creditMemory(added.size());
        raiseError(ErrOutOfMemory);
    }
    data.charged += added.size();
}

std::string_view ScriptValue::stringValue() const
{
    return kind() == ValueKind::String ? std::string_view(m_payload.string->text) : std::string_view();
}

// --- Conversions ----------------------------------------------------------------------------

int32_t ScriptValue::toInteger() const
{
    const ScriptValue& v = deref();
    switch (v.kind()) {
    case ValueKind::String:
        return leadingInteger(v.m_payload.string->text);
    case ValueKind::Integer:
    case ValueKind::Unsigned:
        return v.m_payload.integer;
    case ValueKind::Float:
        return floatToInteger(v.m_payload.number);
    case ValueKind::Object:
        return v.m_payload.object->toInteger();
    default:
        return 0;
    }
}

uint32_t ScriptValue::toUnsignedSlow() const
{
    const ScriptValue& v = deref();
    switch (v.kind()) {
    case ValueKind::String:
        return uint32_t(leadingInteger(v.m_payload.string->text));
    case ValueKind::Integer:
        return v.m_payload.integer < 0 ? 0u - uint32_t(v.m_payload.integer) : uint32_t(v.m_payload.integer);
    case ValueKind::Unsigned:
        return v.m_payload.unsignedValue;
    case ValueKind::Float:
        return floatToUnsigned(v.m_payload.number);
    case ValueKind::Object:
        return v.m_payload.object->toUnsigned();
    default:
        return 0;
    }
}

double ScriptValue::toFloat() const
{
    const ScriptValue& v = deref();
    switch (v.kind()) {
    case ValueKind::String:
        return leadingFloat(v.m_payload.string->text);
    case ValueKind::Integer:
        return v.m_payload.integer;
    case ValueKind::Unsigned:
        return v.m_payload.unsignedValue;
    case ValueKind::Float:
        return v.m_payload.number;
    case ValueKind::Object:
        return v.m_payload.object->toFloat();
    default:
        return 0.0;
    }
}

void ScriptValue::appendText(std::string& out) const
{
    const ScriptValue& v = deref();
    switch (v.kind()) {
    case ValueKind::Null:
        out += "null";
        break;
    case ValueKind::String:
        out += v.m_payload.string->text;
        break;
    case ValueKind::Integer:
        appendInteger(out, v.m_payload.integer);
        break;
    case ValueKind::Unsigned:
        appendUnsigned(out, v.m_payload.unsignedValue);
        break;
    case ValueKind::Float:
        appendFloat(out, v.m_payload.number);
        break;
    case ValueKind::Object:
        out += v.m_payload.object->toText();
        break;
    case ValueKind::Reference:
        break;
    }
}

std::string ScriptValue::toText() const
{
    const ScriptValue& v = deref();
    if (v.kind() == ValueKind::String)
        return v.m_payload.string->text;
    std::string out;
    v.appendText(out);
    return out;
}

// --- Setters --------------------------------------------------------------------------------

void ScriptValue::setNull()
{
    checkWritable();
    *this = null();
}

void ScriptValue::setInteger(int32_t value)
{
    checkWritable();
    *this = ScriptValue(value);
}

void ScriptValue::setUnsigned(uint32_t value)
{
    checkWritable();
    *this = ScriptValue(value);
}

void ScriptValue::setFloat(double value)
{
    checkWritable();
    *this = ScriptValue(value);
}

void ScriptValue::setString(std::string_view text)
{
    checkWritable();
    *this = ScriptValue(text);
}

void ScriptValue::setObject(ScriptObject* object)
{
    checkWritable();
    *this = ScriptValue(object);
}

void ScriptValue::setReference(ScriptValue* target, ScriptObject* holder)
{
    checkWritable();
    *this = reference(target, holder);
}

ScriptValue& ScriptValue::assign(const ScriptValue& source)
{
    ScriptValue* storage = this;
    for (int hops = 0; storage->kind() == ValueKind::Reference; ++hops) {
        storage->checkWritable();
        if (hops == kMaxReferenceHops || !storage->m_payload.ref.target)
            raiseError(ErrReadOnly);
        storage = storage->m_payload.ref.target;
    }
    storage->checkWritable();
    const ScriptValue& from = source.deref();
    if (storage == &from)
        return *storage;
    if (storage->kind() < ValueKind::Reference && storage->kind() != ValueKind::String
        && from.kind() < ValueKind::Reference && from.kind() != ValueKind::String) {
        storage->m_header = header(from.kind()); // storage is writable
        storage->m_payload = from.m_payload;
        return *storage;
    }
    // Copy before releasing: the source may live inside what the storage holds (a = a[0]).
    ScriptValue copy(from);
    *storage = std::move(copy);
    return *storage;
}

} // namespace vorpane::script
