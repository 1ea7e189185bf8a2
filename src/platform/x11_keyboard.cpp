#include "x11_keyboard.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

Display* display()
{
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
    return nullptr;
}

unsigned int maskOf(Display* d, Keyboard::Lock lock)
{
    return lock == Keyboard::Lock::Caps ? LockMask : XkbKeysymToModifiers(d, XK_Num_Lock);
}

}  // namespace

bool X11Keyboard::isOn(Lock lock) const
{
    Display* d = display();
    if (!d)
        return false;
    XkbStateRec state{};
    if (XkbGetState(d, XkbUseCoreKbd, &state) != Success)
        return false;
    return (state.locked_mods & maskOf(d, lock)) != 0;
}

void X11Keyboard::setOn(Lock lock, bool on)
{
    Display* d = display();
    if (!d)
        return;
    const unsigned int mask = maskOf(d, lock);
    if (mask == 0)
        return;
    XkbLockModifiers(d, XkbUseCoreKbd, mask, on ? mask : 0);
    XFlush(d);
}
