#pragma once

#include <QString>

// Message boxes and (later) the file, font, colour and page dialogs.
class Prompts {
public:
    enum class Icon { Information, Warning, Critical, Question };
    virtual ~Prompts() = default;
    // A message with an OK button; title empty means the program's title.
    virtual void message(const QString& text, Icon icon = Icon::Information, const QString& title = {}) = 0;

    static inline const QString kProgramTitle = QStringLiteral("Tarven Net");
};
