#include "fit_widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {

// No box holds more; a longer caption (a damaged file, say) is cut here
// instead of being measured again and again on every repaint.
constexpr qsizetype kMaxCaption = 300;
constexpr double kSmallest = 4;

QString bounded(const QString& text) { return text.size() > kMaxCaption ? text.left(kMaxCaption) : text; }

QSize needed(const QFont& f, const QString& text, const QSize& room, bool wrap)
{
    if (!wrap)
        return QFontMetrics(f).size(0, text);
    return QFontMetrics(f).boundingRect(QRect(QPoint(0, 0), room), Qt::TextWordWrap, text).size();
}

QFont fitted(const QFont& font, const QString& text, const QSize& room, bool wrap = false)
{
    if (text.isEmpty() || room.width() <= 0 || room.height() <= 0)
        return font;
    QFont f = font;
    for (int step = 0; step < 40; ++step) {
        const QSize need = needed(f, text, room, wrap);
        if (need.width() <= room.width() && need.height() <= room.height())
            return f;
        const double scale = std::min(double(room.width()) / need.width(), double(room.height()) / need.height());
        // Never below 4 points: the smallest size still read on the air.
        if (f.pointSizeF() <= kSmallest)
            break;
        const double next = std::min(f.pointSizeF() - 0.25, f.pointSizeF() * std::max(0.5, scale));
        f.setPointSizeF(std::max(kSmallest, next));
    }
    return f;
}

}  // namespace

QString FitLabel::shownText() const
{
    QString t = bounded(text());
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

FitLabel::Fit FitLabel::fit() const
{
    const QString text = shownText();
    const QSize room = contentsRect().size();
    const QFont single = fitted(font(), text, room);
    // A caption of several words that would shrink a lot reads better over
    // two lines.
    if (single.pointSizeF() < 0.75 * font().pointSizeF() && text.contains(QLatin1Char(' ')) && !text.contains('\n')) {
        const QFont wrapped = fitted(font(), text, room, true);
        if (wrapped.pointSizeF() > single.pointSizeF())
            return {wrapped, true};
    }
    return {single, false};
}

QFont FitLabel::fittedFont() const { return fit().font; }

bool FitLabel::wrapsCaption() const { return fit().wrap; }

void FitLabel::paintEvent(QPaintEvent* event)
{
    if (hasScaledContents() || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const Fit f = fit();
    QPainter p(this);
    p.setFont(f.font);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    p.drawText(contentsRect(), int(alignment()) | (f.wrap ? Qt::TextWordWrap : 0), shownText());
}

QFont FitButton::fittedFont() const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this).adjusted(2, 0, -2, 0);
    QString t = bounded(text());
    t.remove(QLatin1Char('&'));
    return fitted(font(), t, room.size());
}

void FitButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = bounded(opt.text);
    const QFont f = fittedFont();
    p.setFont(f);
    opt.fontMetrics = QFontMetrics(f);
    p.drawControl(QStyle::CE_PushButton, opt);
}
