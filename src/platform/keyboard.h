#pragma once

// The keyboard's lock toggles.
class Keyboard {
public:
    enum class Lock { Caps, Num };
    virtual ~Keyboard() = default;
    // Nothing when the state is not known (no X11 display, say).
    virtual bool isOn(Lock lock) const = 0;
    virtual void setOn(Lock lock, bool on) = 0;
};

// Brings a lock into the wanted state; does nothing when it is there already.
inline void SetLock(Keyboard& keyboard, Keyboard::Lock lock, bool on)
{
    if (keyboard.isOn(lock) != on)
        keyboard.setOn(lock, on);
}
