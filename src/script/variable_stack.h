#pragma once
// The storage of every script variable of a run: one stack of (name, value) entries. The global
// variables sit at the bottom; each running call of a user function owns the entries above those
// of its caller. Entries live in fixed chunks that never move, so a Reference to a variable
// stays valid while the variable exists, however much the stack grows meanwhile.

#include "script/script_value.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vorpane::script {

struct Variable {
    int32_t nameId = -1; // -1 for values put aside by a recursive call
    ScriptValue value;
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
            Variable& v = at(--m_size);
            v.nameId = -1;
            v.value = ScriptValue();
        }
    }

private:
    static constexpr size_t kChunkBits = 8;
    static constexpr size_t kChunkSize = size_t(1) << kChunkBits;

    std::vector<std::unique_ptr<Variable[]>> m_chunks;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

} // namespace vorpane::script
