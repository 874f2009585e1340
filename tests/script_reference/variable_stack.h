#pragma once
// The storage of script variables. Globals sit on a VariableStack; each running call of a user
// function gets one record on the FrameStack, its parameters followed by one entry per name its
// body declares. Entries live in fixed chunks that never move, so a Reference to a variable
// stays valid while the variable exists, however much the stacks grow meanwhile.

#include "script/script_value.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace vorpane::script::reference {

struct Variable {
    int32_t nameId = -1; // -1: a local whose declaration has not run in this call
    ScriptValue value;

    void clear()
    {
        nameId = -1;
        value.reset();
    }
};

class VariableStack {
public:
    size_t size() const { return m_size; }

    Variable& at(size_t index) { return m_chunks[index >> kChunkBits][index & (kChunkSize - 1)]; }

    Variable& push(int32_t nameId, ScriptValue&& value)
    {
        if (m_size == m_capacity) {
            m_chunks.push_back(std::make_unique<Variable[]>(kChunkSize));
            m_capacity += kChunkSize;
        }
        Variable& v = at(m_size++);
        v.nameId = nameId;
        v.value = std::move(value);
        return v;
    }

    // Destroys the entries from the top down to size.
    void popTo(size_t size)
    {
        while (m_size > size) {
            at(--m_size).clear();
        }
    }

private:
    static constexpr size_t kChunkBits = 8;
    static constexpr size_t kChunkSize = size_t(1) << kChunkBits;

    std::vector<std::unique_ptr<Variable[]>> m_chunks;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// Contiguous records, last in first out. Every entry above the top is fresh (nameId -1,
// Integer 0): whoever releases a record leaves its entries so.
class FrameStack {
public:
    struct Mark {
        Variable* top;
        Variable* limit;
        size_t chunk;
    };

    Mark mark() const { return { m_top, m_limit, m_chunk }; }

    Variable* allocate(size_t count)
    {
        if (size_t(m_limit - m_top) >= count) [[likely]] {
            Variable* record = m_top;
            m_top += count;
            return record;
        }
        return allocateInNextChunk(count);
    }

    void release(const Mark& mark)
    {
        m_top = mark.top;
        m_limit = mark.limit;
        m_chunk = mark.chunk;
    }

    // Makes every entry fresh again, newest first, and empties the stack (after calls that did
    // not release their records).
    void clear()
    {
        if (!m_top || (m_chunk == 0 && m_top == m_chunks[0].entries.get()))
            return;
        for (size_t c = m_chunks.size(); c-- > 0;) {
            Chunk& chunk = m_chunks[c];
            for (size_t i = chunk.size; i-- > 0;)
                chunk.entries[i].clear();
        }
        m_chunk = 0;
        m_top = m_chunks[0].entries.get();
        m_limit = m_top + m_chunks[0].size;
    }

private:
    // The first chunks are small, so that a run with few calls stays cheap.
    static constexpr size_t kFirstChunkSize = 256;
    static constexpr size_t kMaxChunkSize = 4096;

    struct Chunk {
        std::unique_ptr<Variable[]> entries;
        size_t size = 0;
    };

    Variable* allocateInNextChunk(size_t count)
    {
        // Records never straddle chunks; the rest of the current one stays unused meanwhile.
        size_t next = m_top ? m_chunk + 1 : 0;
        if (next < m_chunks.size() && m_chunks[next].size < count)
            m_chunks.erase(m_chunks.begin() + ptrdiff_t(next), m_chunks.end()); // all fresh
        if (next == m_chunks.size()) {
            size_t size
                = std::max(std::min(kFirstChunkSize << std::min<size_t>(next, 4), kMaxChunkSize), count);
            m_chunks.push_back({ std::make_unique<Variable[]>(size), size });
        }
        m_chunk = next;
        Chunk& chunk = m_chunks[next];
        m_top = chunk.entries.get() + count;
        m_limit = chunk.entries.get() + chunk.size;
        return chunk.entries.get();
    }

    std::vector<Chunk> m_chunks;
    Variable* m_top = nullptr; // none before the first record
    Variable* m_limit = nullptr;
    size_t m_chunk = 0;
};

} // namespace vorpane::script::reference
