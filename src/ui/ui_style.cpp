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
    return f;
}

void setColours(QWidget* w, const QColor& text, const QColor& background)
{
    QPalette p = w->palette();
    const bool box = qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w);
    const bool button = qobject_cast<QAbstractButton*>(w) && !qobject_cast<QRadioButton*>(w);
    p.setColor(box ? QPalette::Text : button ? QPalette::ButtonText : QPalette::WindowText, text);
    if (background.isValid()) {
        // Only the role the widget itself paints with, so that boxes inside a
        // coloured frame keep their own white.
        if (qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w)) {
            p.setColor(QPalette::Base, background);
        } else if (qobject_cast<QAbstractButton*>(w)) {
            p.setColor(QPalette::Button, background);
        } else {
            p.setColor(QPalette::Window, background);
            w->setAutoFillBackground(true);
        }
    }
    w->setPalette(p);
}

void giveWideCaret(QLineEdit* box)
{
    auto* style = new WideCaretStyle;
    style->setParent(box);
    box->setStyle(style);
}

}  // namespace Ui
