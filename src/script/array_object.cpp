// The script class Array.

#include "script/array_object.h"

#include "script/member_name.h"
#include "script/memory_budget.h"
#include "script/step_budget.h"

#include <algorithm>
#include <new>

namespace vorpane::script {

namespace {

thread_local ArrayObject* t_liveArrays = nullptr;
thread_local size_t t_liveCount = 0;

ArrayObject* arrayIn(const ScriptValue& value)
{
    ScriptObject* object = value.objectValue();
    return object && object->isArray() ? static_cast<ArrayObject*>(object) : nullptr;
}

} // namespace

ArrayObject::ArrayObject()
    : m_nextLive(t_liveArrays)
{
    m_isArray = true;
    if (m_nextLive)
        m_nextLive->m_previousLive = this;
    t_liveArrays = this;
    ++t_liveCount;
}

ArrayObject::~ArrayObject()
{
    creditMemory(m_capacity * sizeof(ScriptValue));
    if (m_previousLive)
        m_previousLive->m_nextLive = m_nextLive;
    else
        t_liveArrays = m_nextLive;
    if (m_nextLive)
        m_nextLive->m_previousLive = m_previousLive;
    --t_liveCount;
    for (uint32_t i = 0; i < m_made; ++i)
        at(i).~ScriptValue();
}

size_t ArrayObject::liveCount() { return t_liveCount; }

// Trial deletion: an array held more often than the arrays hold it is held from outside, and so
// is everything it holds; the rest can only be reached from one another.
void ArrayObject::collectCycles()
{
    std::vector<ArrayObject*> live;
    for (ArrayObject* array = t_liveArrays; array; array = array->m_nextLive) {
        // A fresh array nobody holds yet is no part of a cycle.
        if (array->refCount() > 0)
            live.push_back(array);
    }
    for (ArrayObject* array : live) {
        array->m_outsideHolds = array->refCount();
        array->m_reachable = false;
    }
    for (ArrayObject* array : live) {
        array->forEachValue([](ScriptValue& value) {
            if (ArrayObject* held = arrayIn(value))
                --held->m_outsideHolds;
        });
    }
    std::vector<ArrayObject*> pending;
    for (ArrayObject* array : live) {
        if (array->m_outsideHolds > 0) {
            array->m_reachable = true;
            pending.push_back(array);
        }
    }
    while (!pending.empty()) {
        ArrayObject* array = pending.back();
        pending.pop_back();
        array->forEachValue([&](ScriptValue& value) {
            ArrayObject* held = arrayIn(value);
            if (held && !held->m_reachable) {
                held->m_reachable = true;
                pending.push_back(held);
            }
        });
    }
    // Held here while their values are emptied, so that none dies half way; they go with these.
    std::vector<ScriptValue> garbage;
    for (ArrayObject* array : live) {
        if (!array->m_reachable)
            garbage.emplace_back(array);
    }
    for (ScriptValue& held : garbage)
        static_cast<ArrayObject*>(held.objectValue())->forEachValue([](ScriptValue& value) {
            value.reset();
        });
}

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
    // A step is spent per kElementsPerStep elements, so an append or two spends none and need
    // not ask the run.
    uint32_t changed = length > m_size ? length - m_size : m_size - length;
    if (changed >= kElementsPerStep && !spendSteps(changed / kElementsPerStep))
        raiseError(ErrOutOfMemory);
    while (m_capacity < length) {
        uint32_t size = 1u << (kFirstChunkBits + int(m_chunks.size()));
        chargeMemory(size * sizeof(ScriptValue));
        try {
            std::unique_ptr<ScriptValue, ChunkFree> chunk(
                static_cast<ScriptValue*>(::operator new(size * sizeof(ScriptValue))));
            m_chunks.push_back(std::move(chunk));
        } catch (const std::bad_alloc&) {
            creditMemory(size * sizeof(ScriptValue));
            raiseError(ErrOutOfMemory);
        }
        m_capacity += size;
    }
    // Dropped elements are emptied and new ones made fresh; a stale reference may have written
    // into either while it was beyond the length.
    for (uint32_t i = std::min(length, m_size); i < std::min(std::max(length, m_size), m_made); ++i)
        at(i) = ScriptValue();
    while (m_made < length)
        makeNext();
    m_size = length;
}

void ArrayObject::followLength()
{
    uint32_t wanted
        = m_length.kind() == ValueKind::Unsigned ? m_length.unsignedValue() : m_length.toUnsigned();
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
        if (index == m_size && index < m_capacity) {
            // One more element where a chunk has room, as resize() would add it: a loop that
            // fills an array does this at every turn.
            ScriptValue& added = at(index);
            if (index == m_made) {
                new (&added) ScriptValue();
                ++m_made;
            } else {
                added = ScriptValue();
            }
            m_size = index + 1;
            m_length = ScriptValue(index + 1);
            return &added;
        }
        resize(index + 1);
        m_length = ScriptValue(index + 1);
    }
    return &at(index);
}

const ScriptValue* ArrayObject::existingElement(uint32_t index) const
{
    // The length must be a number that the buffer already follows.
    ValueKind kind = m_length.kind();
    if (kind != ValueKind::Unsigned && kind != ValueKind::Integer && kind != ValueKind::Float)
        return nullptr;
    if (m_length.toUnsigned() != m_size || index >= m_size)
        return nullptr;
    return &const_cast<ArrayObject*>(this)->at(index);
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

HostMemberList ArrayObject::memberList()
{
    return {
        { "length", HostMemberKind::Variable, {} },
        { "sort", HostMemberKind::Function, {} },
        { "reverse", HostMemberKind::Function, {} },
    };
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
