#pragma once
// The break key (Ctrl+Break, Ctrl+Space) as a flag: the desktop sets it from an event filter and the
// interpreter reads it at every node, so polling costs one load rather than a system call. An int
// rather than a bool, so that the interpreter can fold it into its own stop test with one "or".
//
// A run never returns to the event loop until it ends, so the desktop could neither repaint nor
// see the key. The interpreter therefore calls pollBreakKey() every few thousand nodes; at most
// every kBreakKeyPollInterval that calls the poll function the desktop installed (paint events and
// the key, nothing else). With none installed (the headless tool, the benchmarks) it returns at once.

#include <atomic>
#include <chrono>
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

// Short enough for a stop "at once" and for output lines to appear as they are written; long
// enough that the event processing costs nothing measurable.
inline constexpr std::chrono::milliseconds kBreakKeyPollInterval { 30 };

using BreakKeyPoll = void (*)();
// Installs the poll function (null removes it).
void setBreakKeyPoll(BreakKeyPoll poll);
BreakKeyPoll breakKeyPoll();
// Calls the poll function when one is installed and the interval has passed since the last call.
// A poll that starts a run of its own is not polled again until it returns.
void pollBreakKey();

} // namespace vorpane
