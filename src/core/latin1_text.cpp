#include "latin1_text.h"

#include <QList>

namespace {

// Letters and signs that decompose to nothing Latin-1 has.
const char* spelled(char32_t c)
{
    switch (c) {
    case U'Ł': case U'Ŀ': return "L";
    case U'ł': case U'ŀ': return "l";
    case U'Đ': case U'Ɖ': return "D";
    case U'đ': case U'ɖ': return "d";
    case U'Ħ': return "H";
    case U'ħ': return "h";
    case U'Ŧ': return "T";
    case U'ŧ': return "t";
    case U'Ŋ': return "N";
    case U'ŋ': return "n";
    case U'ı': return "i";
    case U'ĸ': return "k";
    case U'ſ': return "s";
    case U'ƒ': return "f";
    case U'Œ': return "OE";
    case U'œ': return "oe";
    case U'Ĳ': return "IJ";
    case U'ĳ': return "ij";
    case U'Ə': return "E";
    case U'ə': return "e";
    case U'ẞ': return "SS";
    case U'‘': case U'’': case U'‚': case U'′': case U'‛': return "'";
    case U'“': case U'”': case U'„': case U'″': return "\"";
    case U'‐': case U'‑': case U'‒': case U'–': case U'—': case U'−': return "-";
    case U'…': return "...";
    case U'€': return "EUR";
    default: return nullptr;
    }
}

// A letter with marks: the base with as many of its marks as still make one
// Latin-1 character ("ǘ" is u, diaeresis, acute: "ü").
QString decomposed(const QString& one)
{
    const QString parts = one.normalized(QString::NormalizationForm_D);
    for (qsizetype keep = parts.size(); keep >= 1; --keep) {
        const QString candidate = parts.left(keep).normalized(QString::NormalizationForm_C);
        if (candidate.size() == 1 && candidate.at(0).unicode() < 256)
            return candidate;
    }
    return {};
}

// Ligatures and wide forms: their plain letters, marks left out ("ﬁ" is "fi").
QString compatible(const QString& one)
{
    QString plain;
    for (const QChar c : one.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.unicode() >= 256)
            return {};
        plain += c;
    }
    return plain;
}

}  // namespace

QString NearestLatin1(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 256) {
            out += c;
            continue;
        }
        QString one(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            one += text.at(++i);
        if (const char* s = spelled(one.toUcs4().value(0))) {
            out += QLatin1String(s);
            continue;
        }
        QString near = decomposed(one);
        if (near.isEmpty())
            near = compatible(one);
        out += near.isEmpty() ? QStringLiteral("?") : near;
    }
    return out;
}
