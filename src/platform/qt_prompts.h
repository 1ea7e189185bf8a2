#pragma once

#include "prompts.h"

class QtPrompts : public Prompts {
public:
    void message(const QString& text, Icon icon, const QString& title) override;
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon, const QString& title) override;
    QString askSaveFile(const QString& presetPath, const QString& filter) override;
    QString askOpenFile(const QString& folder, const QString& filter) override;
};
