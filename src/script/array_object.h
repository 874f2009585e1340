#pragma once
// ArrayObject: the script class Array. Elements live in chunks of doubling size (16, 32, 64, ...)
// that are never moved or freed while the array exists, so a Reference to an element stays valid
// even if the array grows or shrinks before the reference is used, and a small array stays small.
// The member variable "length" may be assigned anything; the elements follow it at the next
// element access, sort or reverse.

#include "script/host_member.h"
#include "script/script_object.h"

#include <bit>
#include <memory>
#include <new>
#include <vector>

namespace vorpane::script {

class ArrayObject final : public ScriptObject {
public:
    // «new Array(n)» accepts at most this many elements...
    static constexpr uint32_t kMaxCreatedLength = 65535;
    // ...and growth by access or by "length" at most this many.
    static constexpr uint32_t kMaxGrownLength = 65534;

    ArrayObject();

    // Frees the arrays of this thread that are held only by one another: the cycles a script
    // made (a[0] = a) outlive its variables otherwise. Call it when no run is in progress on
    // the thread. Arrays live and die on the thread that made them.
    static void collectCycles();
    // Arrays alive on this thread.
    static size_t liveCount();

    // The class factory registered for "new" as "array".
    static int create(ScriptValue* args, int argCount, ScriptValue& result);
    // What «new Array(...)» takes, and the members of an array.
    static constexpr const char* kCreateParameters = "length or elements...";
    static HostMemberList memberList();

    int callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result) override;
    ScriptValue* findMember(const std::string& name) override;
    ScriptValue* element(uint32_t index) override;
    const ScriptValue* existingElement(uint32_t index) const override;
    std::string toText() override { return "Array"; }

    // The element element() gives at once, without raising or resizing, when the length is the
    // plain number the buffer follows and the index is within it; none otherwise.
    const ScriptValue* elementInPlace(uint32_t index)
    {
        return followsLength() && index < m_size ? &at(index) : nullptr;
    }
    // The element a number may be stored into at once, as element() gives it: one that holds a
    // writable number within the length, or the one just past it where a chunk has room, which
    // is then added (it holds a writable number, which the store overwrites). None otherwise.
    ScriptValue* numberElementToStore(uint32_t index)
    {
        if (!followsLength()) [[unlikely]]
            return nullptr;
        if (index < m_size) [[likely]] {
            ScriptValue& element = at(index);
            return element.isWritableNumber() ? &element : nullptr;
        }
        if (index != m_size || index >= m_capacity || index >= kMaxGrownLength)
            return nullptr;
        ScriptValue& added = at(index);
        if (index == m_made) {
            new (&added) ScriptValue();
            ++m_made;
        } else if (!added.isWritableNumber()) {
            return nullptr;
        }
        m_size = index + 1;
        m_length.overwriteUnsigned(index + 1);
        return &added;
    }

    // Elements in the buffer (the length value may differ until the next access).
    uint32_t bufferLength() const { return m_size; }

private:
    static constexpr int kFirstChunkBits = 4; // the first chunk holds 16 elements
    // Filling or emptying this many elements costs one step of a run's step budget: about what
    // a node's evaluation costs, so that a budget also bounds the memory a run can fill.
    static constexpr uint32_t kElementsPerStep = 16;

    ~ArrayObject() override;

    // Chunk k holds the elements from 16 * (2^k - 1) on.
    ScriptValue& at(uint32_t index)
    {
        uint32_t shifted = index + (1u << kFirstChunkBits);
        int chunk = int(std::bit_width(shifted)) - 1 - kFirstChunkBits;
        return m_chunks[size_t(chunk)].get()[shifted - (1u << (chunk + kFirstChunkBits))];
    }
    // Whether the length is the plain number the buffer already follows.
    bool followsLength() const
    {
        return m_length.kind() == ValueKind::Unsigned && m_length.unsignedValue() == m_size;
    }
    // Makes the element at m_made, which must be within the chunks.
    void makeNext() { new (&at(m_made++)) ScriptValue(); }
    void followLength();
    void resize(uint32_t length);
    bool sort();
    bool sortUniform();
    void reverse();

    // Every value the array holds, the elements beyond the length included (a stale reference
    // may have written there).
    template <typename Visit> void forEachValue(Visit visit)
    {
        visit(m_length);
        for (uint32_t i = 0; i < m_made; ++i)
            visit(at(i));
    }

    struct ChunkFree {
        void operator()(ScriptValue* chunk) const { ::operator delete(chunk); }
    };

    ScriptValue m_length;
    uint32_t m_size = 0;
    // Chunks are raw storage whose elements are made as the array first reaches them, so the
    // pages of a chunk's unused end are never touched. Those below m_made are values (m_made is
    // never below m_size).
    std::vector<std::unique_ptr<ScriptValue, ChunkFree>> m_chunks;
    uint32_t m_capacity = 0;
    uint32_t m_made = 0;

    // This thread's live arrays, and what collectCycles() works out for each.
    ArrayObject* m_previousLive = nullptr;
    ArrayObject* m_nextLive = nullptr;
    int m_outsideHolds = 0;
    bool m_reachable = false;
};

} // namespace vorpane::script
