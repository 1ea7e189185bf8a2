#pragma once

// Compact, readable descriptions of text formats, so that test tables can
// state expected formatting as one string per case.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

namespace rtftest {

// The blocks' own text joined by '\n'; line separators and no-break spaces
// stay as they are (toPlainText would turn them into '\n' and ' ').
inline QString blockTexts(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks << b.text();
    return blocks.join(QLatin1Char('\n'));
}

inline QString hintName(QFont::StyleHint h)
{
    switch (h) {
    case QFont::Serif: return QStringLiteral("serif");
    case QFont::SansSerif: return QStringLiteral("sans");
    case QFont::TypeWriter: return QStringLiteral("mono");
    case QFont::Cursive: return QStringLiteral("script");
    case QFont::Decorative: return QStringLiteral("decor");
    default: return {};
    }
}

inline QFont::StyleHint hintFromName(const QString& n)
{
    if (n == QLatin1String("serif"))
        return QFont::Serif;
    if (n == QLatin1String("sans"))
        return QFont::SansSerif;
    if (n == QLatin1String("mono"))
        return QFont::TypeWriter;
    if (n == QLatin1String("script"))
        return QFont::Cursive;
    if (n == QLatin1String("decor"))
        return QFont::Decorative;
    return QFont::AnyStyle;
}

// "Family[/hint] points [b] [i] [u] [s] [caps|scaps] [super|sub] [fg=#rrggbb] [bg=#rrggbb]";
// a format without a family shows "-". Family names must not hold blanks
// here; write them with '_' instead.
inline QString describeChar(const QTextCharFormat& f)
{
    QString family = f.fontFamilies().toStringList().value(0);
    family = family.isEmpty() ? QStringLiteral("-") : family.replace(QLatin1Char(' '), QLatin1Char('_'));
    // An unset hint reads as SansSerif (0), so only a set one counts.
    if (const QString h = f.hasProperty(QTextFormat::FontStyleHint) ? hintName(f.fontStyleHint()) : QString();
        !h.isEmpty())
        family += QLatin1Char('/') + h;
    QStringList parts{family, QString::number(f.fontPointSize())};
    if (f.fontWeight() >= QFont::DemiBold)
        parts << QStringLiteral("b");
    if (f.fontItalic())
        parts << QStringLiteral("i");
    if (f.fontUnderline())
        parts << QStringLiteral("u");
    if (f.fontStrikeOut())
        parts << QStringLiteral("s");
    if (f.fontCapitalization() == QFont::AllUppercase)
        parts << QStringLiteral("caps");
    if (f.fontCapitalization() == QFont::SmallCaps)
        parts << QStringLiteral("scaps");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        parts << QStringLiteral("super");
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        parts << QStringLiteral("sub");
    if (f.foreground().style() != Qt::NoBrush)
        parts << QStringLiteral("fg=") + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush)
        parts << QStringLiteral("bg=") + f.background().color().name();
    return parts.join(QLatin1Char(' '));
}

inline QTextCharFormat charFromDescription(const QString& d)
{
    QTextCharFormat f;
    const QStringList parts = d.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList family = parts.value(0).split(QLatin1Char('/'));
    if (family.value(0) != QLatin1String("-"))
        f.setFontFamilies({QString(family.value(0)).replace(QLatin1Char('_'), QLatin1Char(' '))});
    if (family.size() > 1)
        f.setFontStyleHint(hintFromName(family.value(1)));
    f.setFontPointSize(parts.value(1).toDouble());
    for (const QString& p : parts.mid(2)) {
        if (p == QLatin1String("b"))
            f.setFontWeight(QFont::Bold);
        else if (p == QLatin1String("i"))
            f.setFontItalic(true);
        else if (p == QLatin1String("u"))
            f.setFontUnderline(true);
        else if (p == QLatin1String("s"))
            f.setFontStrikeOut(true);
        else if (p == QLatin1String("caps"))
            f.setFontCapitalization(QFont::AllUppercase);
        else if (p == QLatin1String("scaps"))
            f.setFontCapitalization(QFont::SmallCaps);
        else if (p == QLatin1String("super"))
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (p == QLatin1String("sub"))
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (p.startsWith(QLatin1String("fg=")))
            f.setForeground(QColor(p.mid(3)));
        else if (p.startsWith(QLatin1String("bg=")))
            f.setBackground(QColor(p.mid(3)));
    }
    return f;
}

inline int twips(double pixels) { return int(std::lround(pixels * 15)); }

// "left|center|right|justify [li=N] [ri=N] [fi=N] [sb=N] [sa=N] [lh=propN|minN|fixedN]",
// lengths in twips, proportional heights in percent (rounded).
inline QString describeBlock(const QTextBlockFormat& b)
{
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    QStringList parts{(a & Qt::AlignJustify)   ? QStringLiteral("justify")
                      : (a & Qt::AlignHCenter) ? QStringLiteral("center")
                      : (a & Qt::AlignRight)   ? QStringLiteral("right")
                                               : QStringLiteral("left")};
    const auto add = [&](const char* name, double px) {
        if (const int t = twips(px))
            parts << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(t);
    };
    add("li", b.leftMargin());
    add("ri", b.rightMargin());
    add("fi", b.textIndent());
    add("sb", b.topMargin());
    add("sa", b.bottomMargin());
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        parts << QStringLiteral("lh=prop%1").arg(std::lround(b.lineHeight()));
        break;
    case QTextBlockFormat::MinimumHeight: parts << QStringLiteral("lh=min%1").arg(twips(b.lineHeight())); break;
    case QTextBlockFormat::FixedHeight: parts << QStringLiteral("lh=fixed%1").arg(twips(b.lineHeight())); break;
    default: break;
    }
    return parts.join(QLatin1Char(' '));
}

inline QTextBlockFormat blockFromDescription(const QString& d)
{
    QTextBlockFormat b;
    const QStringList parts = d.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString a = parts.value(0);
    b.setAlignment(a == QLatin1String("center")    ? Qt::AlignHCenter
                   : a == QLatin1String("right")   ? Qt::AlignRight
                   : a == QLatin1String("justify") ? Qt::AlignJustify
                                                   : Qt::AlignLeft);
    for (const QString& p : parts.mid(1)) {
        const QString key = p.section(QLatin1Char('='), 0, 0), value = p.section(QLatin1Char('='), 1);
        const double px = value.toInt() / 15.0;
        if (key == QLatin1String("li"))
            b.setLeftMargin(px);
        else if (key == QLatin1String("ri"))
            b.setRightMargin(px);
        else if (key == QLatin1String("fi"))
            b.setTextIndent(px);
        else if (key == QLatin1String("sb"))
            b.setTopMargin(px);
        else if (key == QLatin1String("sa"))
            b.setBottomMargin(px);
        else if (value.startsWith(QLatin1String("prop")))
            b.setLineHeight(value.mid(4).toDouble(), QTextBlockFormat::ProportionalHeight);
        else if (value.startsWith(QLatin1String("min")))
            b.setLineHeight(value.mid(3).toInt() / 15.0, QTextBlockFormat::MinimumHeight);
        else if (value.startsWith(QLatin1String("fixed")))
            b.setLineHeight(value.mid(5).toInt() / 15.0, QTextBlockFormat::FixedHeight);
    }
    return b;
}

// Format of the first character of the first occurrence of probe; "missing"
// when probe is not in the document.
inline QString describeAt(const QTextDocument& doc, const QString& probe)
{
    const QTextCursor found = doc.find(probe, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return QStringLiteral("missing");
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return describeChar(c.charFormat());
}

// Every block's format and every fragment's text and format, to compare two
// documents in full.
inline QStringList describeAll(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out << QStringLiteral("[%1]").arg(describeBlock(b.blockFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out << it.fragment().text() + QStringLiteral(" <") + describeChar(it.fragment().charFormat()) +
                       QLatin1Char('>');
    }
    return out;
}

}  // namespace rtftest
