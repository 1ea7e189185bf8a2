#pragma once

#include "platform/clipboard.h"

#include <QString>
#include <QStringList>

// Holds the text in memory and records each call ("clear", "setText").
class FakeClipboard : public Clipboard {
public:
    void clear() override
    {
        calls.append(QStringLiteral("clear"));
        content.clear();
    }
    void setText(const QString& text) override
    {
        calls.append(QStringLiteral("setText"));
        content = text;
    }
    QString text() const override { return content; }

    QString content;
    QStringList calls;
};
