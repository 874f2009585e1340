#pragma once
// The process's one pseudo-random generator (values 0 to 32767) and the millisecond tick count.
// Dice, math.random and name drawing all take their values from here, so one seed repeats a run.

#include <cstdint>

namespace vorpane {

constexpr int kRandomMax = 32767;

void seedRandom(uint32_t seed);
int nextRandom();

// Milliseconds from a monotonic clock; wraps like a 32-bit tick count.
uint32_t tickCount();

} // namespace vorpane
