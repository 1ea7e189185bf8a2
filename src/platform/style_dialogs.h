#pragma once

#include <QColor>
#include <QFont>

#include <optional>

// The font and colour dialogs, opened on a value; nothing when cancelled.
class StyleDialogs {
public:
    virtual ~StyleDialogs() = default;
    virtual std::optional<QFont> askFont(const QFont& initial) = 0;
    virtual std::optional<QColor> askColour(const QColor& initial) = 0;
};
