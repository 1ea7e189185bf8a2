#pragma once

#include "platform/browser.h"
#include "platform/caps_lock.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/printers.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/style_dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records every sound played.
class FakeSound : public Sound {
public:
    void play(const QString& fileName) override { played.append(fileName); }
    QStringList played;
};

// Records every message and question; questions are answered from a script
// (first in, first out), or with their default when the script is empty.
class FakePrompts : public Prompts, public StyleDialogs {
public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
    };
    void message(const QString& text, Icon icon, const QString& title) override
    {
        shown.append({text, icon, title, Buttons::Ok, Answer::Ok});
    }
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon, const QString& title) override
    {
        shown.append({text, icon, title, buttons, defaultAnswer});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    QString saveFileDialog(const QString& presetPath, const QString& filter, int* filterIndex) override
    {
        fileDialogs.append({QStringLiteral("save"), presetPath, filter});
        if (whileFileDialogOpen)
            whileFileDialogOpen();
        const int chosen = filterIndexes.isEmpty() ? 0 : filterIndexes.takeFirst();
        if (filterIndex)
            *filterIndex = chosen;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString openFileDialog(const QString& folder, const QString& filter) override
    {
        fileDialogs.append({QStringLiteral("open"), folder, filter});
        if (whileFileDialogOpen)
            whileFileDialogOpen();
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    std::optional<QFont> askFont(const QFont& initial) override
    {
        fontsAsked.append(initial);
        return fonts.isEmpty() ? std::nullopt : fonts.takeFirst();
    }
    std::optional<QColor> askColour(const QColor& initial) override
    {
        coloursAsked.append(initial);
        return colours.isEmpty() ? std::nullopt : colours.takeFirst();
    }
    QList<Shown> shown;
    QList<Answer> answers;
    // Font and colour dialogs: what they opened on, and the scripted choices
    // (nothing in the script cancels).
    QList<QFont> fontsAsked;
    QList<std::optional<QFont>> fonts;
    QList<QColor> coloursAsked;
    QList<std::optional<QColor>> colours;
    // File dialogs: kind, preset or folder, filter; answered from files
    // (an empty text or an empty script cancels).
    QList<QStringList> fileDialogs;
    QStringList files;
    // The filter each save dialog returns with (none scripted: the first).
    QList<int> filterIndexes;
    // Runs while each file dialog is open.
    std::function<void()> whileFileDialogOpen;
};

// A clock that stands still until a test moves it.
class FakeClock : public Clock {
public:
    QDateTime now() const override { return current; }
    QDateTime current{QDate(2026, 12, 8), QTime(19, 0)};
};

// Lock toggles in memory; records every change it was asked for.
class FakeKeyboard : public Keyboard {
public:
    bool isOn(Lock lock) const override { return lock == Lock::Caps ? caps : num; }
    void setOn(Lock lock, bool on) override
    {
        (lock == Lock::Caps ? caps : num) = on;
        changes.append({lock, on});
    }
    bool caps = false;
    bool num = true;
    QList<QPair<Lock, bool>> changes;
};

class FakePrinters : public Printers {
public:
    int count() const override { return installed; }
    int installed = 1;
};

// Records the addresses it was asked to open.
class FakeBrowser : public Browser {
public:
    void open(const QUrl& address) override { opened.append(address); }
    QList<QUrl> opened;
};

// A platform made of fakes.
class FakeSpeech : public Speech {
public:
    void say(const QString& text) override { said.append(text); }
    QStringList said;
};

struct FakePlatform {
    FakeSound sound;
    FakePrompts prompts;
    FakeClock clock;
    FakeKeyboard keyboard;
    CapsLock capsLock{keyboard};
    FakePrinters printers;
    FakeBrowser browser;
    FakeSpeech speech;
    Platform platform = make();

private:
    Platform make()
    {
        Platform p;
        p.sound = &sound;
        p.prompts = &prompts;
        p.clock = &clock;
        p.keyboard = &keyboard;
        p.capsLock = &capsLock;
        prompts.setCapsLock(&capsLock);
        p.printers = &printers;
        p.styleDialogs = &prompts;
        p.browser = &browser;
        p.speech = &speech;
        return p;
    }
};
