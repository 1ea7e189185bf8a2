#pragma once

#include "clipboard.h"

// The clipboard of the running Qt application.
class QtClipboard : public Clipboard {
public:
    void clear() override;
    void setText(const QString& text) override;
    QString text() const override;
};
