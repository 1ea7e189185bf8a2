#include "ui_style.h"

#include <QLineEdit>
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
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    if (background.isValid()) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            p.setColor(role, background);
        w->setAutoFillBackground(true);
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
