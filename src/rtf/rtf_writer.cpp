#include "rtf/rtf_writer.h"

#include "core/safe_write.h"
#include "rtf/code_pages.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <vector>

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kTwipLimit = 31680;
constexpr double kDefaultPoints = 12.0;
// Output lines are broken after this many bytes; RTF readers ignore the
// line breaks, and editors and mail programs cope better with short lines.
constexpr int kLineLength = 200;

int toTwips(double pixels) { return std::clamp(int(std::lround(pixels * kTwipsPerPixel)), -kTwipLimit, kTwipLimit); }

QByteArray word(const char* name, int value) { return QByteArray(name) + QByteArray::number(value); }

const char* familyWord(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif: return "\\froman";
    case QFont::SansSerif: return "\\fswiss";
    case QFont::TypeWriter:
    case QFont::Monospace: return "\\fmodern";
    case QFont::Cursive: return "\\fscript";
    case QFont::Decorative:
    case QFont::Fantasy: return "\\fdecor";
    default: return "\\fnil";
    }
}

struct Font {
    QString family;
    QFont::StyleHint hint;
    bool operator==(const Font&) const = default;
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc)
    {
        const QFont f = doc.defaultFont();
        defaults_.setFont(f);
        defaultFamily_ = f.family();
        if (f.pointSizeF() > 0)
            defaultPoints_ = f.pointSizeF();
        else if (f.pixelSize() > 0)
            defaultPoints_ = f.pixelSize() * 0.75;
        fontIndex({defaultFamily_, f.styleHint()});  // \deff0
    }

    QByteArray write();

private:
    int fontIndex(const Font& f);
    int colorIndex(const QColor& c);
    QByteArray paragraphWords(const QTextBlock& block) const;
    QByteArray characterWords(const QTextCharFormat& format);
    void appendText(QByteArray& out, QStringView text);
    void append(QByteArray& out, const QByteArray& bytes);

    const QTextDocument& doc_;
    QTextCharFormat defaults_;
    QString defaultFamily_;
    double defaultPoints_ = kDefaultPoints;
    std::vector<Font> fonts_;
    std::vector<QRgb> colors_;
    int column_ = 0;
};

QByteArray Writer::write()
{
    QByteArray body;
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        append(body, paragraphWords(block));
        QByteArray current;
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.text().isEmpty())
                continue;
            const QByteArray words = characterWords(fragment.charFormat());
            if (words != current) {
                append(body, words + ' ');
                current = words;
            }
            appendText(body, fragment.text());
            any = true;
        }
        // An empty paragraph keeps the size of its mark, which sets its height.
        if (!any)
            append(body, characterWords(block.charFormat()) + ' ');
        body += "\\par\n";
        column_ = 0;
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    column_ = 0;
    for (size_t i = 0; i < fonts_.size(); ++i) {
        out += word("{\\f", int(i)) + familyWord(fonts_[i].hint) + "\\fcharset0 ";
        QString name = fonts_[i].family;
        name.remove(QLatin1Char(';'));  // it would end the name
        appendText(out, name);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QRgb c : colors_)
        out += word("\\red", qRed(c)) + word("\\green", qGreen(c)) + word("\\blue", qBlue(c)) + ';';
    out += "}\n";
    out += body;
    out += "}\n";
    return out;
}

int Writer::fontIndex(const Font& f)
{
    const auto it = std::find(fonts_.begin(), fonts_.end(), f);
    if (it != fonts_.end())
        return int(it - fonts_.begin());
    fonts_.push_back(f);
    return int(fonts_.size() - 1);
}

int Writer::colorIndex(const QColor& c)
{
    const QRgb rgb = c.rgb() & 0xFFFFFF;
    const auto it = std::find(colors_.begin(), colors_.end(), rgb);
    if (it != colors_.end())
        return int(it - colors_.begin()) + 1;
    colors_.push_back(rgb);
    return int(colors_.size());  // entry 0 is the automatic colour
}

QByteArray Writer::paragraphWords(const QTextBlock& block) const
{
    const QTextBlockFormat b = block.blockFormat();
    QByteArray w = "\\pard";
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        w += "\\qj";
    else if (a & Qt::AlignHCenter)
        w += "\\qc";
    else if (a & Qt::AlignRight)
        w += "\\qr";
    const int left = toTwips(b.leftMargin() + b.indent() * doc_.indentWidth());
    if (left)
        w += word("\\li", left);
    if (const int right = toTwips(b.rightMargin()))
        w += word("\\ri", right);
    if (const int first = toTwips(b.textIndent()))
        w += word("\\fi", first);
    if (const int before = toTwips(b.topMargin()))
        w += word("\\sb", before);
    if (const int after = toTwips(b.bottomMargin()))
        w += word("\\sa", after);
    const double height = b.lineHeight();
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (height > 0)
            w += word("\\sl", std::clamp(int(std::lround(height * 2.4)), 1, kTwipLimit)) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        if (const int t = toTwips(height); t > 0)
            w += word("\\sl", t) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        if (const int t = toTwips(height); t > 0)
            w += word("\\sl", -t) + "\\slmult0";
        break;
    default: break;
    }
    return w;
}

QByteArray Writer::characterWords(const QTextCharFormat& format)
{
    QTextCharFormat f = defaults_;
    f.merge(format);

    QString family = f.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (family.isEmpty())
        family = defaultFamily_;
    // An unset hint reads as SansSerif, so only a set one is written.
    const QFont::StyleHint hint = f.hasProperty(QTextFormat::FontStyleHint) ? f.fontStyleHint() : QFont::AnyStyle;
    QByteArray w = "\\plain" + word("\\f", fontIndex({family, hint}));

    double points = f.fontPointSize();
    if (points <= 0 && f.hasProperty(QTextFormat::FontPixelSize))
        points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (points <= 0)
        points = defaultPoints_;
    w += word("\\fs", std::clamp(int(std::lround(points * 2)), 2, 3276));

    if (f.fontWeight() >= QFont::DemiBold)
        w += "\\b";
    if (f.fontItalic())
        w += "\\i";
    if (f.fontUnderline())
        w += "\\ul";
    if (f.fontStrikeOut())
        w += "\\strike";
    if (f.fontCapitalization() == QFont::AllUppercase)
        w += "\\caps";
    else if (f.fontCapitalization() == QFont::SmallCaps)
        w += "\\scaps";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        w += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        w += "\\sub";
    if (const QBrush fg = f.foreground(); fg.style() != Qt::NoBrush)
        w += word("\\cf", colorIndex(fg.color()));
    if (const QBrush bg = f.background(); bg.style() != Qt::NoBrush)
        w += word("\\highlight", colorIndex(bg.color()));
    return w;
}

void Writer::append(QByteArray& out, const QByteArray& bytes)
{
    out += bytes;
    column_ += int(bytes.size());
}

void Writer::appendText(QByteArray& out, QStringView text)
{
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (column_ >= kLineLength) {
            out += '\n';
            column_ = 0;
        }
        const qsizetype before = out.size();
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '{': out += "\\{"; break;
        case '}': out += "\\}"; break;
        case '\t': out += "\\tab "; break;
        case QChar::LineSeparator: out += "\\line "; break;
        case 0x00A0: out += "\\~"; break;
        case 0x00AD: out += "\\-"; break;
        case 0x2011: out += "\\_"; break;
        case 0xFDD0:
        case 0xFDD1:
        case QChar::ObjectReplacementCharacter:
        case QChar::ParagraphSeparator: break;  // document structure, not text
        default:
            if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
                break;
            if (c < 0x80) {
                out += char(c);
            } else if (const uchar b = rtf::EncodeCp1252(c)) {
                static const char hex[] = "0123456789abcdef";
                out += "\\'";
                out += hex[b >> 4];
                out += hex[b & 0xF];
            } else {
                out += "\\u" + QByteArray::number(qint16(c)) + '?';
            }
        }
        column_ += int(out.size() - before);
    }
}

}  // namespace

QByteArray WriteRtf(const QTextDocument& doc) { return Writer(doc).write(); }

bool SaveRtfFile(const QString& path, const QTextDocument& doc, QString* error)
{
    return SafeWrite(path, WriteRtf(doc), error);
}
