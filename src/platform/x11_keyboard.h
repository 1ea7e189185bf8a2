#pragma once

#include "keyboard.h"

// The lock state of the X11 keyboard; on other display systems the locks are
// left alone and read as off.
class X11Keyboard : public Keyboard {
public:
    bool isOn(Lock lock) const override;
    void setOn(Lock lock, bool on) override;
};
