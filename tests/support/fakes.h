#pragma once

#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/sound.h"

#include <QStringList>

// Records every sound played.
class FakeSound : public Sound {
public:
    void play(const QString& fileName) override { played.append(fileName); }
    QStringList played;
};

// Records every message shown.
class FakePrompts : public Prompts {
public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
    };
    void message(const QString& text, Icon icon, const QString& title) override { shown.append({text, icon, title}); }
    QList<Shown> shown;
};

// A platform made of fakes.
struct FakePlatform {
    FakeSound sound;
    FakePrompts prompts;
    Platform platform{&sound, &prompts};
};
