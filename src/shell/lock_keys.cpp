#include "shell/lock_keys.h"

#include <QGuiApplication>

#ifdef VORPANE_HAVE_X11
// X11 last: its macros (None, Bool, Status) would clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace vorpane {

#ifdef VORPANE_HAVE_X11
namespace {

// A connection of our own: Qt's is shared with xcb, and an error of one of Qt's requests read
// there would reach Xlib's default handler, which ends the program.
Display* keyboardDisplay()
{
    static Display* display = [] {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return static_cast<Display*>(nullptr);
        int reason = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        Display* opened = XkbOpenDisplay(nullptr, &event, &error, &major, &minor, &reason);
        return opened;
    }();
    return display;
}

} // namespace
#endif

LockKeys readLockKeys()
{
    LockKeys keys;
#ifdef VORPANE_HAVE_X11
    Display* display = keyboardDisplay();
    if (!display)
        return keys;
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return keys;
    static const unsigned numMask = XkbKeysymToModifiers(display, XK_Num_Lock);
    keys.known = true;
    keys.capsLock = (state.locked_mods & LockMask) != 0;
    keys.numLock = numMask != 0 && (state.locked_mods & numMask) != 0;
#endif
    return keys;
}

} // namespace vorpane
