#pragma once

#include "caps_lock.h"

#include <QString>

// Message boxes and questions (and, later, the file, font, colour and page
// dialogs). Tests answer them from a script.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Critical, Question, Exclamation };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;
    // A message with an OK button; an empty title means the program's title.
    virtual void message(const QString& text, Icon icon = Icon::Information, const QString& title = {}) = 0;
    // A question; closing the box counts as Cancel (No where there is no Cancel).
    virtual Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question,
                       const QString& title = {}) = 0;

    // File dialogs; a filter is "Description (*.ext)|*.ext". The empty text
    // means the dialog was cancelled. The save dialog asks before it replaces
    // a file. filterIndex, when given, receives the chosen filter's position
    // (0 = the first). File names are typed as they are: Caps Lock is off
    // while one is open.
    QString askSaveFile(const QString& presetPath, const QString& filter, int* filterIndex = nullptr)
    {
        CapsLock::CaseMatters typing(capsLock_);
        return saveFileDialog(presetPath, filter, filterIndex);
    }
    QString askOpenFile(const QString& folder, const QString& filter)
    {
        CapsLock::CaseMatters typing(capsLock_);
        return openFileDialog(folder, filter);
    }
    void setCapsLock(CapsLock* capsLock) { capsLock_ = capsLock; }

    static inline const QString kProgramTitle = QStringLiteral("Tarven Net");

protected:
    virtual QString saveFileDialog(const QString& presetPath, const QString& filter, int* filterIndex) = 0;
    virtual QString openFileDialog(const QString& folder, const QString& filter) = 0;

private:
    CapsLock* capsLock_ = nullptr;
};
