// The script class Array.

#include "script/array_object.h"

#include "script/interpreter.h"
#include "script/member_name.h"

#include <algorithm>

namespace vorpane::script {

int ArrayObject::create(ScriptValue* args, int argCount, ScriptValue& result)
{
    ArrayObject* array = new ArrayObject;
    ScriptValue hold(array); // frees the array if anything below raises
    if (argCount == 1 && args[0].isNumeric()) {
        uint32_t length = args[0].toUnsigned();
        if (length > kMaxCreatedLength)
            raiseError(ErrOutOfMemory);
        array->resize(length);
        array->m_length = ScriptValue(length);
    } else if (argCount > 0) {
        if (uint32_t(argCount) > kMaxCreatedLength)
            raiseError(ErrOutOfMemory);
        array->resize(uint32_t(argCount));
        for (int i = 0; i < argCount; ++i)
            array->at(uint32_t(i)) = ScriptValue(args[i].deref());
        array->m_length = ScriptValue(uint32_t(argCount));
    }
    result = std::move(hold);
    return CallOk;
}

void ArrayObject::resize(uint32_t length)
{
    // Out of steps the run has already stopped without a message; the code only unwinds.
    uint32_t changed = length > m_size ? length - m_size : m_size - length;
    if (!spendSteps(changed / kElementsPerStep))
        raiseError(ErrOutOfMemory);
    while (m_capacity < length) {
        uint32_t size = 1u << (kFirstChunkBits + int(m_chunks.size()));
        m_chunks.push_back(std::make_unique<ScriptValue[]>(size));
        m_capacity += size;
    }
    // Dropped elements are emptied and new ones made fresh; a stale reference may have written
    // into either while it was beyond the length.
    for (uint32_t i = std::min(length, m_size); i < std::max(length, m_size); ++i)
        at(i) = ScriptValue();
    m_size = length;
}

void ArrayObject::followLength()
{
    uint32_t wanted = m_length.toUnsigned();
    if (wanted == m_size)
        return;
    if (wanted > kMaxGrownLength)
        raiseError(ErrOutOfMemory);
    resize(wanted);
}

ScriptValue* ArrayObject::element(uint32_t index)
{
    followLength();
    if (index >= m_size) {
        if (index >= kMaxGrownLength)
            raiseError(ErrOutOfMemory);
        resize(index + 1);
        m_length = ScriptValue(index + 1);
    }
    return &at(index);
}

ScriptValue* ArrayObject::findMember(const std::string& name)
{
    return sameName(name, "length") ? &m_length : nullptr;
}

int ArrayObject::callMember(const std::string& name, ScriptValue*, int argCount, ScriptValue&)
{
    bool isSort = sameName(name, "sort");
    if (!isSort && !sameName(name, "reverse"))
        return CallNotFound;
    if (argCount > 0)
        return CallTooMany;
    followLength();
    if (isSort && !sort())
        return CallReported; // the step budget ran out; the run has stopped
    if (!isSort)
        reverse();
    return CallOk;
}

// Exchange sort: passes from the front, swapping neighbours when the left one is greater by ">".
// Mixed kinds compare by the left element's rules, which is not a consistent order, so only the
// exchange passes give the right result for them.
bool ArrayObject::sort()
{
    if (sortUniform())
        return true;
    for (uint32_t end = m_size; end > 1; --end) {
        if (!spendSteps(end))
            return false;
        bool swapped = false;
        for (uint32_t i = 0; i + 1 < end; ++i) {
            if (scriptGreater(at(i), at(i + 1))) {
                std::swap(at(i), at(i + 1));
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
    return true;
}

// When every element is of one kind that ">" orders consistently, a stable sort ends where the
// exchange passes would, in n log n.
bool ArrayObject::sortUniform()
{
    if (m_size < 2)
        return true;
    ValueKind kind = at(0).kind();
    if (kind != ValueKind::Integer && kind != ValueKind::Unsigned && kind != ValueKind::Float
        && kind != ValueKind::String)
        return false;
    for (uint32_t i = 0; i < m_size; ++i) {
        const ScriptValue& v = at(i);
        if (v.kind() != kind || (kind == ValueKind::Float && v.floatValue() != v.floatValue()))
            return false;
    }
    std::vector<ScriptValue> values;
    values.reserve(m_size);
    for (uint32_t i = 0; i < m_size; ++i)
        values.push_back(std::move(at(i)));
    auto less = [kind](const ScriptValue& a, const ScriptValue& b) {
        switch (kind) {
        case ValueKind::Integer:
            return a.integerValue() < b.integerValue();
        case ValueKind::Unsigned:
            return a.unsignedValue() < b.unsignedValue();
        case ValueKind::Float:
            return a.floatValue() < b.floatValue();
        default:
            return a.stringValue() < b.stringValue();
        }
    };
    std::stable_sort(values.begin(), values.end(), less);
    for (uint32_t i = 0; i < m_size; ++i)
        at(i) = std::move(values[i]);
    return true;
}

void ArrayObject::reverse()
{
    for (uint32_t i = 0, j = m_size; i + 1 < j; ++i, --j)
        std::swap(at(i), at(j - 1));
}

} // namespace vorpane::script
