#include "ui_style.h"

#include "fit_widgets.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QRadioButton>
#include <QPalette>
#include <QProxyStyle>
#include <QWidget>

namespace Ui {

namespace {

class WideCaretStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 5;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

void fitToScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen || !window->layout())
        return;
    const QRect room = screen->availableGeometry();
    const QSize frame(16, 40);  // the window manager's borders and title
    const auto fits = [&room](const QSize& need) { return need.width() <= room.width() && need.height() <= room.height(); };
    window->layout()->activate();
    // A window that fits is left alone: nothing moves while it is mapped.
    if (fits(window->sizeHint() + frame))
        return;
    QSize before;
    for (int step = 0; step < 6; ++step) {
        window->layout()->activate();
        const QSize need = window->sizeHint() + frame;
        if (fits(need))
            break;
        // Smaller fonts no longer help: something else holds the size.
        if (before.isValid() && need.width() * 50 >= before.width() * 49 && need.height() * 50 >= before.height() * 49)
            break;
        before = need;
        const double k = std::max(0.5, 0.97 * std::min(double(room.width()) / need.width(),
                                                       double(room.height()) / need.height()));
        // Fonts and the sizes set in pixels shrink together, each from what
        // it stood at (an inherited font is not shrunk twice).
        struct Smaller {
            QWidget* w;
            QFont font;
            bool setFont;
            QSize minimum;
            QSize maximum;
        };
        QList<Smaller> smaller;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            QFont f = child->font();
            const bool shrinkFont = f.pointSizeF() > 4;
            if (shrinkFont)
                f.setPointSizeF(std::max(4.0, f.pointSizeF() * k));
            const auto scaled = [k](const QSize& s, int none) {
                return QSize(s.width() == none ? none : int(s.width() * k), s.height() == none ? none : int(s.height() * k));
            };
            smaller.append({child, f, shrinkFont, scaled(child->minimumSize(), 0),
                            scaled(child->maximumSize(), QWIDGETSIZE_MAX)});
        }
        for (const Smaller& s : smaller) {
            if (s.setFont)
                s.w->setFont(s.font);
            s.w->setMinimumSize(s.minimum);
            s.w->setMaximumSize(s.maximum);
        }
    }
    window->adjustSize();
    const QSize need = window->sizeHint() + frame;
    if (!fits(need)) {
        // Still too large: the window takes the screen's size and its fitted
        // captions draw themselves smaller in the room they get.
        for (FitLabel* l : window->findChildren<FitLabel*>())
            l->setMinimumSize(1, 1);
        window->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        window->setMaximumSize(room.size() - frame);
        window->resize(need.boundedTo(room.size()) - frame);
    }
    QRect g = window->frameGeometry();
    g.moveLeft(std::clamp(g.left(), room.left(), std::max(room.left(), room.right() - g.width())));
    g.moveTop(std::clamp(g.top(), room.top(), std::max(room.top(), room.bottom() - g.height())));
    window->move(g.topLeft());
}

void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
}

QFont font(const char* family, double pointSize, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    // Every attribute set, so a frame's font never leaks into its controls.
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

namespace {

bool isBox(const QWidget* w) { return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QLineEdit*>(w); }
bool isButton(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QRadioButton*>(w);
}
QPalette::ColorRole textRole(const QWidget* w)
{
    return isBox(w) ? QPalette::Text : isButton(w) ? QPalette::ButtonText : QPalette::WindowText;
}
QPalette::ColorRole backgroundRole(const QWidget* w)
{
    // Only the role the widget itself paints with, so that boxes inside a
    // coloured frame keep their own white.
    return isBox(w) ? QPalette::Base : isButton(w) ? QPalette::Button : QPalette::Window;
}

}  // namespace

void setTextColour(QWidget* w, const QColor& text)
{
    QPalette p = w->palette();
    p.setColor(textRole(w), text);
    w->setPalette(p);
}

void setBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(backgroundRole(w), colour);
    w->setPalette(p);
    if (backgroundRole(w) == QPalette::Window)
        w->setAutoFillBackground(true);
}

QColor textColour(const QWidget* w) { return w->palette().color(textRole(w)); }

QColor effectiveBackground(const QWidget* w)
{
    for (const QWidget* at = w; at; at = at->parentWidget())
        if (at->autoFillBackground() || at->isWindow() || !at->parentWidget())
            return at->palette().color(backgroundRole(at));
    return w->palette().color(QPalette::Window);
}

namespace {
double luminance(const QColor& c)
{
    auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}
}  // namespace

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor dimmed(const QColor& text, const QColor& background)
{
    if (contrast(text, background) < 4.5)
        return text;  // already as faint as it may be
    QColor best = text;
    for (int step = 1; step <= 10; ++step) {
        const double t = step / 20.0;  // at most half way to the background
        const QColor c = QColor::fromRgbF(float(text.redF() + (background.redF() - text.redF()) * t),
                                          float(text.greenF() + (background.greenF() - text.greenF()) * t),
                                          float(text.blueF() + (background.blueF() - text.blueF()) * t));
        if (contrast(c, background) < 4.5)
            break;
        best = c;
    }
    return best;
}

void keepReadable(QWidget* w, double minimum)
{
    const QColor behind = effectiveBackground(w);
    if (contrast(textColour(w), behind) >= minimum)
        return;
    setTextColour(w, contrast(Qt::black, behind) >= contrast(Qt::white, behind) ? QColor(Qt::black) : QColor(Qt::white));
}
QColor background(const QWidget* w) { return w->palette().color(backgroundRole(w)); }

void setColours(QWidget* w, const QColor& text, const QColor& colour)
{
    setTextColour(w, text);
    if (colour.isValid())
        setBackground(w, colour);
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& caption, const QFont& font)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    return l;
}

QLineEdit* namedBox(QWidget* parent, const char* name, const QFont& font, int chars, QObject* filter)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFont(font);
    e->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QLatin1Char('W')) * chars);
    if (filter)
        e->installEventFilter(filter);
    return e;
}

void centreOnScreen(QWidget* w, const QRect& area)
{
    QRect target = area;
    if (target.isEmpty())
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            target = screen->geometry();
    if (target.isEmpty())
        return;
    const QSize size = w->frameGeometry().size();
    w->move(target.x() + (target.width() - size.width()) / 2, target.y() + (target.height() - size.height()) / 2);
}

void giveWideCaret(QLineEdit* box)
{
    auto* style = new WideCaretStyle;
    style->setParent(box);
    box->setStyle(style);
}

}  // namespace Ui
