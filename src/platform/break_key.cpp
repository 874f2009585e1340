#include "platform/break_key.h"

namespace vorpane {

namespace {

BreakKeyPoll g_poll = nullptr;
std::chrono::steady_clock::time_point g_lastPoll;
bool g_polling = false;

} // namespace

void setBreakKeyPoll(BreakKeyPoll poll) { g_poll = poll; }

BreakKeyPoll breakKeyPoll() { return g_poll; }

void pollBreakKey()
{
    if (!g_poll || g_polling)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - g_lastPoll < kBreakKeyPollInterval)
        return;
    g_lastPoll = now;
    struct Polling {
        Polling() { g_polling = true; }
        ~Polling() { g_polling = false; }
    } polling;
    g_poll();
}

} // namespace vorpane
