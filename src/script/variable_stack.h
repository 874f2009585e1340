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

namespace vorpane::script {

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
        size_t chunk = 0;
        size_t used = 0;
    };

    Mark mark() const { return { m_chunk, m_used }; }

    Variable* allocate(size_t count)
    {
        if (m_chunk < m_chunks.size() && m_used + count <= m_chunks[m_chunk].size) {
            Variable* record = m_chunks[m_chunk].entries.get() + m_used;
            m_used += count;
            return record;
        }
        return allocateInNextChunk(count);
    }

    void release(Mark mark)
    {
        m_chunk = mark.chunk;
        m_used = mark.used;
    }

    // Makes every entry fresh again, newest first, and empties the stack (after calls that did
    // not release their records).
    void clear()
    {
        if (m_chunk == 0 && m_used == 0)
            return;
        for (size_t c = m_chunks.size(); c-- > 0;) {
            Chunk& chunk = m_chunks[c];
            for (size_t i = chunk.size; i-- > 0;)
                chunk.entries[i].clear();
        }
        m_chunk = 0;
        m_used = 0;
    }

private:
    static constexpr size_t kChunkSize = 4096;

    struct Chunk {
        std::unique_ptr<Variable[]> entries;
        size_t size = 0;
    };

    Variable* allocateInNextChunk(size_t count)
    {
        // Records never straddle chunks; the rest of the current one stays unused meanwhile.
        size_t next = m_chunks.empty() ? 0 : m_chunk + 1;
        if (next < m_chunks.size() && m_chunks[next].size < count)
            m_chunks.erase(m_chunks.begin() + ptrdiff_t(next), m_chunks.end()); // all fresh
        if (next == m_chunks.size()) {
            size_t size = std::max(kChunkSize, count);
            m_chunks.push_back({ std::make_unique<Variable[]>(size), size });
        }
        m_chunk = next;
        m_used = count;
        return m_chunks[next].entries.get();
    }

    std::vector<Chunk> m_chunks;
    size_t m_chunk = 0;
    size_t m_used = 0;
};

} // namespace vorpane::script
