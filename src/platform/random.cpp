#include "platform/random.h"

#include <QElapsedTimer>

namespace vorpane {

namespace {
uint32_t g_state = 1;
} // namespace

void seedRandom(uint32_t seed) { g_state = seed; }

// A linear congruential generator with the classic 15-bit output.
int nextRandom()
{
    g_state = g_state * 214013u + 2531011u;
    return int((g_state >> 16) & 0x7FFF);
}

uint32_t tickCount()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return uint32_t(timer.msecsSinceReference());
}

} // namespace vorpane
