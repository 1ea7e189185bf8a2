#include "ui_style.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLineEdit>
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
QColor background(const QWidget* w) { return w->palette().color(backgroundRole(w)); }

void setColours(QWidget* w, const QColor& text, const QColor& colour)
{
    setTextColour(w, text);
    if (colour.isValid())
        setBackground(w, colour);
}

void giveWideCaret(QLineEdit* box)
{
    auto* style = new WideCaretStyle;
    style->setParent(box);
    box->setStyle(style);
}

}  // namespace Ui
