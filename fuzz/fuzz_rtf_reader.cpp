// Feeds arbitrary bytes to ReadRtf. Besides memory errors and undefined
// behaviour it stops on any document that WriteRtf cannot carry: what was
// read must write out as RTF that reads back cleanly to the same text and
// formatting.

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cstdio>
#include <cstdlib>

namespace {

QString charSignature(const QTextCharFormat& f)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
        .arg(f.fontFamilies().toStringList().join(QLatin1Char(',')))
        .arg(f.fontPointSize())
        .arg(f.fontWeight())
        .arg(QString::number(f.fontItalic()) + QString::number(f.fontUnderline()) +
             QString::number(f.fontStrikeOut()))
        .arg(f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name())
        .arg(f.background().style() == Qt::NoBrush ? QString() : f.background().color().name())
        .arg(int(f.verticalAlignment()))
        .arg(int(f.fontCapitalization()))
        .arg(f.hasProperty(QTextFormat::FontStyleHint) ? int(f.fontStyleHint()) : -1);
}

QString blockSignature(const QTextBlockFormat& b)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
        .arg(int(b.alignment() & Qt::AlignHorizontal_Mask))
        .arg(qRound(b.leftMargin() * 15))
        .arg(qRound(b.rightMargin() * 15))
        .arg(qRound(b.textIndent() * 15))
        .arg(qRound(b.topMargin() * 15))
        .arg(qRound(b.bottomMargin() * 15))
        .arg(b.lineHeightType())
        .arg(qRound(b.lineHeight() * 100));
}

// Runs of text with their formats, adjacent equal runs merged. Text without a
// font family is written in the document's font, so families are compared
// only where the read document has one.
QStringList signature(const QTextDocument& doc, const QTextDocument* familiesFrom)
{
    QStringList out;
    QTextBlock other = familiesFrom ? familiesFrom->begin() : QTextBlock();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out << QStringLiteral("[") + blockSignature(b.blockFormat()) + QStringLiteral("]");
        QString runText, runSig;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextCharFormat f = it.fragment().charFormat();
            if (familiesFrom) {
                // Compare against the family of the same position in the original.
                const int offset = it.fragment().position() - b.position();
                QTextCursor c(other);
                c.setPosition(other.position() + offset + 1);
                if (c.charFormat().fontFamilies().toStringList().isEmpty())
                    f.clearProperty(QTextFormat::FontFamilies);
            }
            const QString sig = charSignature(f);
            if (sig != runSig && !runText.isEmpty()) {
                out << runText + QLatin1Char('<') + runSig + QLatin1Char('>');
                runText.clear();
            }
            runSig = sig;
            runText += it.fragment().text();
        }
        if (!runText.isEmpty())
            out << runText + QLatin1Char('<') + runSig + QLatin1Char('>');
        if (other.isValid())
            other = other.next();
    }
    return out;
}

// Control characters and NULs shown as \uXXXX, so a report prints whole.
QByteArray printable(const QStringList& lines)
{
    QString out;
    for (const QChar c : lines.join(QLatin1Char('\n'))) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n'))
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out.toUtf8();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // fonts need a GUI application
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(input, &doc);
    if (!r.ok && !r.partial) {
        if (!doc.isEmpty())
            std::abort();  // refused input must leave the document alone
        return 0;
    }

    const QByteArray written = WriteRtf(doc);
    QTextDocument back;
    const RtfReadResult again = ReadRtf(written, &back);
    if (!again.ok) {
        std::fprintf(stderr, "written RTF does not read back: %s\n", qPrintable(again.error));
        std::abort();
    }
    const QStringList want = signature(doc, nullptr), got = signature(back, &doc);
    if (want != got) {
        std::fprintf(stderr, "round trip differs:\nread:    %s\nwritten: %s\n", printable(want).constData(),
                     printable(got).constData());
        std::abort();
    }
    return 0;
}
