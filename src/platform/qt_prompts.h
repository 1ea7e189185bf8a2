#pragma once

#include "prompts.h"
#include "style_dialogs.h"

class QtPrompts : public Prompts, public StyleDialogs {
public:
    void message(const QString& text, Icon icon, const QString& title) override;
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon, const QString& title) override;
    std::optional<QFont> askFont(const QFont& initial) override;
    std::optional<QColor> askColour(const QColor& initial) override;

protected:
    QString saveFileDialog(const QString& presetPath, const QString& filter, int* filterIndex) override;
    QString openFileDialog(const QString& folder, const QString& filter) override;
};
