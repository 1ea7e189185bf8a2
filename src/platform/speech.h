#pragma once

#include <QString>

// Reads a text aloud for operators without a screen reader; never waits,
// and says nothing where the desktop has no speech service.
class Speech {
public:
    virtual ~Speech() = default;
    virtual void say(const QString& text) = 0;
};
