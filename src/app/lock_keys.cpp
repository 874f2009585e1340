#include "app/lock_keys.h"

#include <QGuiApplication>

#ifdef VORPANE_HAVE_X11
// X11 last: its macros (None, Bool, Status) would clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace vorpane {

LockKeys readLockKeys()
{
    LockKeys keys;
#ifdef VORPANE_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return keys;
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return keys;
    const unsigned numMask = XkbKeysymToModifiers(display, XK_Num_Lock);
    keys.known = true;
    keys.capsLock = (state.locked_mods & LockMask) != 0;
    keys.numLock = numMask != 0 && (state.locked_mods & numMask) != 0;
#endif
    return keys;
}

} // namespace vorpane
