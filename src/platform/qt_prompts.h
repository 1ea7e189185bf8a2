#pragma once

#include "prompts.h"

class QtPrompts : public Prompts {
public:
    void message(const QString& text, Icon icon, const QString& title) override;
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon, const QString& title) override;
};
