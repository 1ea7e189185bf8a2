#pragma once

#include <QString>

// Plays a WAV file by name, asynchronously; never waits, ignores failures.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(const QString& fileName) = 0;

    // The sounds carried with the program.
    static inline const QString kDing = QStringLiteral(":/sounds/ding.wav");
    static inline const QString kTada = QStringLiteral(":/sounds/tada.wav");
};
