#pragma once
// The state of Num Lock and Caps Lock for the status bar. Qt does not report it; under X11 it is
// read from the keyboard extension, elsewhere it is unknown.

namespace vorpane {

struct LockKeys {
    bool known = false;
    bool numLock = false;
    bool capsLock = false;
};

LockKeys readLockKeys();

} // namespace vorpane
