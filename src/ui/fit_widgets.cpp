#include "fit_widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {

QFont fitted(const QFont& font, const QString& text, const QSize& room)
{
    if (text.isEmpty() || room.width() <= 0 || room.height() <= 0)
        return font;
    QFont f = font;
    for (int step = 0; step < 40; ++step) {
        const QSize need = QFontMetrics(f).size(0, text);
        if (need.width() <= room.width() && need.height() <= room.height())
            return f;
        const double scale = std::min(double(room.width()) / need.width(), double(room.height()) / need.height());
        const double next = std::min(f.pointSizeF() - 0.25, f.pointSizeF() * std::max(0.5, scale));
        if (next < 4)
            break;
        f.setPointSizeF(next);
    }
    return f;
}

}  // namespace

QString FitLabel::shownText() const
{
    QString t = text();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QFont FitLabel::fittedFont() const
{
    return fitted(font(), shownText(), contentsRect().size());
}

void FitLabel::paintEvent(QPaintEvent* event)
{
    if (hasScaledContents() || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setFont(fittedFont());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    p.drawText(contentsRect(), int(alignment()), shownText());
}

QFont FitButton::fittedFont() const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this).adjusted(2, 0, -2, 0);
    QString t = text();
    t.remove(QLatin1Char('&'));
    return fitted(font(), t, room.size());
}

void FitButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QFont f = fittedFont();
    p.setFont(f);
    opt.fontMetrics = QFontMetrics(f);
    p.drawControl(QStyle::CE_PushButton, opt);
}
