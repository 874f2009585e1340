#pragma once
// The break key (Ctrl+Break, Ctrl+Space) as a flag: the desktop sets it from an event filter and the
// interpreter reads it at every node, so polling costs one load rather than a system call. An int
// rather than a bool, so that the interpreter can fold it into its own stop test with one "or".

#include <atomic>
#include <cstdint>

namespace vorpane {

inline std::atomic<int32_t> g_breakKeyPressed { 0 };

// Nonzero while a press waits.
inline int32_t breakKeyWord() { return g_breakKeyPressed.load(std::memory_order_relaxed); }

inline bool breakKeyPending() { return breakKeyWord() != 0; }

// Reads and forgets a press.
inline bool takeBreakKey()
{
    return breakKeyPending() && g_breakKeyPressed.exchange(0, std::memory_order_relaxed) != 0;
}

inline void pressBreakKey() { g_breakKeyPressed.store(1, std::memory_order_relaxed); }

} // namespace vorpane
