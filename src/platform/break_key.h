#pragma once
// The break key (Ctrl+Break, Ctrl+Space) as a flag: the desktop sets it from an event filter and the
// interpreter reads it at every node, so polling costs one load rather than a system call.

#include <atomic>

namespace vorpane {

inline std::atomic<bool> g_breakKeyPressed{false};

inline bool breakKeyPending()
{
    return g_breakKeyPressed.load(std::memory_order_relaxed);
}

// Reads and forgets a press.
inline bool takeBreakKey()
{
    return breakKeyPending() && g_breakKeyPressed.exchange(false, std::memory_order_relaxed);
}

inline void pressBreakKey()
{
    g_breakKeyPressed.store(true, std::memory_order_relaxed);
}

} // namespace vorpane
