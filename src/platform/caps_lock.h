#pragma once

#include <QString>

class Keyboard;

// The net is typed in capitals: the main window holds Caps Lock on. Where
// case matters (file names, passwords) it is off, and the program gives it
// back when it ends. A mark file records that this program turned it on, so a
// run that ended without giving it back (a crash) is put right at the next start.
class CapsLock {
public:
    explicit CapsLock(Keyboard& keyboard) : keyboard_(keyboard) {}

    // Where the mark is kept from now on; turns Caps Lock off when the last
    // run left its mark there. True when it did.
    bool recover(const QString& markFile);
    // Turns Caps Lock on; the mark is written first when this turns it on.
    void hold();
    // Turns Caps Lock off and clears the mark.
    void release();
    // Since the last hold(), not yet released.
    bool held() const { return held_; }

    // Caps Lock is off while one lives, as it was again after.
    class CaseMatters {
    public:
        explicit CaseMatters(CapsLock* capsLock);
        ~CaseMatters();
        CaseMatters(const CaseMatters&) = delete;
        CaseMatters& operator=(const CaseMatters&) = delete;

    private:
        CapsLock* capsLock_;
        bool wasOn_ = false;
    };

private:
    Keyboard& keyboard_;
    QString markFile_;
    bool held_ = false;
};
