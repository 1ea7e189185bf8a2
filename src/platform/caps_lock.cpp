#include "caps_lock.h"

#include "keyboard.h"

#include <QFile>

bool CapsLock::recover(const QString& markFile)
{
    markFile_ = markFile;
    if (markFile_.isEmpty() || !QFile::exists(markFile_))
        return false;
    SetLock(keyboard_, Keyboard::Lock::Caps, false);
    QFile::remove(markFile_);
    return true;
}

void CapsLock::hold()
{
    held_ = true;
    if (keyboard_.isOn(Keyboard::Lock::Caps))
        return;
    // Written before the lock turns on: a crash in between costs nothing.
    if (!markFile_.isEmpty()) {
        QFile mark(markFile_);
        if (mark.open(QIODevice::WriteOnly))
            mark.write("Caps Lock turned on by this program\n");
    }
    keyboard_.setOn(Keyboard::Lock::Caps, true);
}

void CapsLock::release()
{
    SetLock(keyboard_, Keyboard::Lock::Caps, false);
    held_ = false;
    if (!markFile_.isEmpty())
        QFile::remove(markFile_);
}

CapsLock::CaseMatters::CaseMatters(CapsLock* capsLock) : capsLock_(capsLock)
{
    if (!capsLock_)
        return;
    wasOn_ = capsLock_->keyboard_.isOn(Keyboard::Lock::Caps);
    if (wasOn_)
        capsLock_->keyboard_.setOn(Keyboard::Lock::Caps, false);
}

CapsLock::CaseMatters::~CaseMatters()
{
    if (capsLock_ && wasOn_)
        SetLock(capsLock_->keyboard_, Keyboard::Lock::Caps, true);
}
