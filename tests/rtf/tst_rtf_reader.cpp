#include "rtf/rtf_reader.h"
#include "rtf_test_util.h"
#include "test_main.h"

#include <QTest>
#include <QTextDocument>

using rtftest::blockTexts;
using rtftest::describeAt;
using rtftest::describeBlock;

namespace {

QByteArray rtf(const char* body) { return QByteArray("{\\rtf1\\ansi ") + body + '}'; }

QString readText(const QByteArray& input, RtfReadResult* result = nullptr)
{
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(input, &doc);
    if (result)
        *result = r;
    return blockTexts(doc);
}

}  // namespace

// What text comes out: control words, escapes, destinations, code pages, \u.
class TstRtfReaderText : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void codePages_data();
    void codePages();
    void unicode_data();
    void unicode();
};

void TstRtfReaderText::text_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << rtf("Hello") << "Hello";
    QTest::newRow("blank after a word is its delimiter") << rtf("\\b  two") << " two";
    QTest::newRow("punctuation ends a word and stays") << rtf("\\b0,x") << ",x";
    QTest::newRow("minus not followed by a digit is text") << rtf("\\fs24-x") << "-x";
    QTest::newRow("negative parameter") << rtf("\\li-720x") << "x";
    QTest::newRow("line breaks in the file are not text") << rtf("Hel\r\nlo") << "Hello";
    QTest::newRow("par splits paragraphs") << rtf("a\\par b") << "a\nb";
    QTest::newRow("backslash before a line break is par") << rtf("a\\\nb") << "a\nb";
    QTest::newRow("trailing par adds no paragraph") << rtf("a\\par") << "a";
    QTest::newRow("empty paragraph kept") << rtf("a\\par\\par b") << "a\n\nb";
    QTest::newRow("empty paragraph before the end kept") << rtf("a\\par\\par") << "a\n";
    QTest::newRow("lone par is one empty paragraph") << rtf("\\par") << "";
    QTest::newRow("line") << rtf("a\\line b") << QString("a") + QChar(0x2028) + "b";
    QTest::newRow("tab word and tab byte") << rtf("a\\tab b\tc") << "a\tb\tc";
    QTest::newRow("escaped specials") << rtf("\\\\ \\{x\\}") << "\\ {x}";
    QTest::newRow("no-break space, soft and hard hyphen")
        << rtf("a\\~b\\-c\\_d") << QString("a") + QChar(0xA0) + "b" + QChar(0xAD) + "c" + QChar(0x2011) + "d";
    QTest::newRow("named characters") << rtf("\\lquote x\\rquote \\ldblquote y\\rdblquote \\emdash\\endash\\bullet")
                                      << QString::fromUtf8("‘x’“y”—–•");
    QTest::newRow("lone \\' is nothing") << rtf("a\\'zz") << "azz";
    QTest::newRow("one hex digit") << rtf("\\'4") << "";  // byte 4, a control character
    QTest::newRow("unknown words are ignored") << rtf("\\nosuchword a\\zzz7 b") << "ab";
    QTest::newRow("unknown symbols are ignored") << rtf("a\\|b\\:c") << "abc";
    QTest::newRow("very long word") << QByteArray("{\\rtf1\\") + QByteArray(100000, 'a') + " x}" << "x";
    QTest::newRow("table cells and rows") << rtf("\\trowd a\\cell b\\cell\\row c") << "a\tb\t\nc";
    QTest::newRow("page and section breaks") << rtf("a\\page b\\sect c") << "a\nb\nc";
    // Destinations that are not text.
    QTest::newRow("starred unknown destination") << rtf("{\\*\\nosuch hidden}visible") << "visible";
    QTest::newRow("info") << rtf("{\\info{\\title T}{\\author A}}x") << "x";
    QTest::newRow("stylesheet") << rtf("{\\stylesheet{\\s1 Heading 1;}}x") << "x";
    QTest::newRow("picture hex") << rtf("{\\pict\\wmetafile8 0a0b0c}x") << "x";
    QTest::newRow("picture binary with braces") << rtf("{\\pict\\bin5 a{b}c}x") << "x";
    QTest::newRow("binary in text") << rtf("x\\bin3 abcy") << "xy";
    QTest::newRow("negative binary length") << rtf("x\\bin-5 y") << "xy";
    QTest::newRow("header and footnote") << rtf("{\\header H}{\\footer F}a{\\footnote N}") << "a";
    QTest::newRow("field shows its result")
        << rtf("{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}") << "link";
    QTest::newRow("unstarred field instruction") << rtf("{\\field{\\fldinst PAGE}{\\fldrslt 3}}") << "3";
    QTest::newRow("list text shown, numbering skipped")
        << rtf("{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody{\\pntxta .}}item") << "1.\titem";
    QTest::newRow("hidden text") << rtf("a{\\v hidden}b\\v c\\v0 d") << "abd";
    QTest::newRow("destination word at top level does not hide the document") << rtf("\\pict a") << "a";
    QTest::newRow("font and colour tables are not text")
        << rtf("{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}x") << "x";
    QTest::newRow("upr reads the unicode twin only") << rtf("{\\upr{ansi}{\\*\\ud{uni}}}") << "uni";
    QTest::newRow("upr with a nested ansi group") << rtf("{\\upr{{ansi}}{\\*\\ud{uni}}}") << "uni";
}

void TstRtfReaderText::text()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    RtfReadResult r;
    QCOMPARE(readText(input, &r), text);
    QVERIFY2(r.ok, qPrintable(r.error));
}

void TstRtfReaderText::codePages_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");

    QTest::newRow("1252 by default") << QByteArray("{\\rtf1 \\'80\\'93x\\'94\\'e9}") << QString::fromUtf8("€“x”é");
    QTest::newRow("raw 8-bit byte") << QByteArray("{\\rtf1 caf\xe9}") << QString::fromUtf8("café");
    QTest::newRow("byte 1252 lacks") << QByteArray("{\\rtf1 \\'81}") << QString(QChar(0xFFFD));
    QTest::newRow("ansicpg 1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c4\\'e0}") << QString::fromUtf8("Да");
    QTest::newRow("unknown ansicpg reads as 1252") << QByteArray("{\\rtf1\\ansicpg4242 \\'e9}") << QString::fromUtf8("é");
    QTest::newRow("mac") << QByteArray("{\\rtf1\\mac \\'8e}") << QString::fromUtf8("é");
    QTest::newRow("pc") << QByteArray("{\\rtf1\\pc \\'82}") << QString::fromUtf8("é");
    QTest::newRow("pca") << QByteArray("{\\rtf1\\pca \\'d5}") << QString::fromUtf8("ı");
    QTest::newRow("font charset 238 in a 1252 document")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset238 B;}}\\f1 \\'9a\\'e8\\f0 \\'e8}")
        << QString::fromUtf8("ščè");
    QTest::newRow("font charset 161") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset161 G;}}\\f0 \\'e1}")
                                      << QString::fromUtf8("α");
    QTest::newRow("charset 0 follows ansicpg")
        << QByteArray("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}}\\f0 \\'c4}") << QString::fromUtf8("Д");
    QTest::newRow("cpg overrides charset") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1253 A;}}\\f0 \\'e1}")
                                           << QString::fromUtf8("α");
    QTest::newRow("default font's charset") << QByteArray("{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset204 A;}}\\'c4}")
                                            << QString::fromUtf8("Д");
    QTest::newRow("symbol bullet") << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\f1\\'b7}}")
                                   << QString::fromUtf8("•");
    QTest::newRow("Shift_JIS pair")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 a\\'82\\'a0b}") << QString::fromUtf8("aあb");
    QTest::newRow("Shift_JIS pair with an ASCII second byte")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'93\\'fa\\'96\\'7b}") << QString::fromUtf8("日本");
    QTest::newRow("GBK") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset134 M;}}\\f0 \\'d6\\'d0\\'ce\\'c4}")
                         << QString::fromUtf8("中文");
    QTest::newRow("Big5") << QByteArray("{\\rtf1\\ansicpg950 \\'a4\\'a4\\'a4\\'e5}") << QString::fromUtf8("中文");
    QTest::newRow("Korean") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset129 M;}}\\f0 \\'c7\\'d1\\'b1\\'db}")
                            << QString::fromUtf8("한글");
    QTest::newRow("invalid second byte")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'82\\'20x}") << QString::fromUtf8("\uFFFD x");
    QTest::newRow("lead byte cut by a font change")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}{\\f1\\fcharset0 A;}}\\f0 \\'82\\f1 \\'e9}")
        << QString::fromUtf8("\uFFFDé");
    QTest::newRow("Johab pair is one replacement")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset130 M;}}\\f0 a\\'88\\'61b}") << QString::fromUtf8("a\uFFFDb");
    QTest::newRow("DOS Cyrillic") << QByteArray("{\\rtf1\\ansicpg866 \\'8f\\'e0}") << QString::fromUtf8("Пр");
    QTest::newRow("double-byte lead before a word")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset134 M;}}\\f0 \\'b0\\par b}") << QString::fromUtf8("\uFFFD\nb");
    QTest::newRow("half-width katakana") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'b1}")
                                         << QString::fromUtf8("ｱ");
}

void TstRtfReaderText::codePages()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QCOMPARE(readText(input), text);
}

void TstRtfReaderText::unicode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");

    QTest::newRow("fallback skipped") << rtf("\\u1044\\'c4x") << QString::fromUtf8("Дx");
    QTest::newRow("question-mark fallback") << rtf("\\u8364?") << QString::fromUtf8("€");
    QTest::newRow("delimiter blank is not the fallback") << rtf("caf\\u233 e") << QString::fromUtf8("café");
    QTest::newRow("negative value") << rtf("\\u-3?") << QString(QChar(0xFFFD));
    QTest::newRow("uc0 keeps the next byte") << rtf("\\uc0\\u1044\\'c4") << QString::fromUtf8("ДÄ");
    QTest::newRow("uc2 skips two") << rtf("\\uc2\\u20320\\'c4\\'e3x") << QString::fromUtf8("你x");
    QTest::newRow("uc is scoped to its group") << rtf("{\\uc2 \\u20320??}\\u20320??") << QString::fromUtf8("你你?");
    QTest::newRow("a group ends the fallback") << rtf("\\uc3\\u1044{x}") << QString::fromUtf8("Дx");
    QTest::newRow("surrogate pair") << rtf("\\u-10179?\\u-8704?") << QString::fromUtf8("😀");
    QTest::newRow("lone high surrogate") << rtf("\\u-10179?x") << QString::fromUtf8("\uFFFDx");
    QTest::newRow("lone low surrogate") << rtf("\\u-8704?x") << QString::fromUtf8("\uFFFDx");
    QTest::newRow("high surrogate before par") << rtf("\\u-10179?\\par x") << QString::fromUtf8("\uFFFD\nx");
    QTest::newRow("out of range") << rtf("\\u99999999999 ?x") << QString::fromUtf8("\uFFFDx");
    QTest::newRow("control characters dropped") << rtf("a\\u0?\\u13?\\u10?\\u150?b") << "ab";
    QTest::newRow("document structure characters replaced")
        << rtf("\\u-560?\\u-559?\\u-4?\\u8233?") << QString(4, QChar(0xFFFD));
    QTest::newRow("line separator kept") << rtf("a\\u8232?b") << QString("a") + QChar(0x2028) + "b";
    QTest::newRow("in a font name") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Caf\\u233?;}}\\f0 x}") << "x";
}

void TstRtfReaderText::unicode()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QCOMPARE(readText(input), text);
}

// Character and paragraph formatting as the reader applies it.
class TstRtfReaderFormat : public QObject {
    Q_OBJECT
private slots:
    void character_data();
    void character();
    void paragraph_data();
    void paragraph();
};

void TstRtfReaderFormat::character_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("format");

    const QByteArray tables = "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}"
                              "{\\f2\\fmodern Courier New;}}"
                              "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}";
    const auto doc = [&](const char* body) { return "{\\rtf1\\ansi\\deff0" + tables + body + '}'; };

    QTest::newRow("default font and size") << doc("x") << "x" << "Arial/sans 12";
    QTest::newRow("font and size") << doc("\\f1\\fs21 x") << "x" << "Times_New_Roman/serif 10.5";
    QTest::newRow("bold") << doc("\\b x") << "x" << "Arial/sans 12 b";
    QTest::newRow("bold off") << doc("\\b\\b0 x") << "x" << "Arial/sans 12";
    QTest::newRow("bold 1") << doc("\\b1 x") << "x" << "Arial/sans 12 b";
    QTest::newRow("italic") << doc("\\i x\\i0 y") << "x" << "Arial/sans 12 i";
    QTest::newRow("italic off") << doc("\\i x\\i0 y") << "y" << "Arial/sans 12";
    QTest::newRow("underline") << doc("\\ul x") << "x" << "Arial/sans 12 u";
    QTest::newRow("double underline") << doc("\\uldb x") << "x" << "Arial/sans 12 u";
    QTest::newRow("ulnone") << doc("\\ul\\ulnone x") << "x" << "Arial/sans 12";
    QTest::newRow("underline colour is no underline") << doc("\\ulc1 x") << "x" << "Arial/sans 12";
    QTest::newRow("strike") << doc("\\strike x\\strike0 y") << "x" << "Arial/sans 12 s";
    QTest::newRow("double strike") << doc("\\striked1 x") << "x" << "Arial/sans 12 s";
    QTest::newRow("group restores") << doc("{\\b\\i\\f2 x}y") << "y" << "Arial/sans 12";
    QTest::newRow("group applies") << doc("{\\b\\i\\f2 x}y") << "x" << "Courier_New/mono 12 b i";
    QTest::newRow("plain resets") << doc("\\f1\\b\\cf1\\fs40\\plain x") << "x" << "Arial/sans 12";
    QTest::newRow("colour") << doc("\\cf1 x") << "x" << "Arial/sans 12 fg=#ff0000";
    QTest::newRow("cf0 is automatic") << doc("\\cf1\\cf0 x") << "x" << "Arial/sans 12";
    QTest::newRow("colour index beyond the table") << doc("\\cf99 x") << "x" << "Arial/sans 12";
    QTest::newRow("highlight") << doc("\\highlight2 x") << "x" << "Arial/sans 12 bg=#008000";
    QTest::newRow("cb") << doc("\\cb1 x") << "x" << "Arial/sans 12 bg=#ff0000";
    QTest::newRow("superscript") << doc("\\super x\\nosupersub y") << "x" << "Arial/sans 12 super";
    QTest::newRow("subscript ends") << doc("\\sub x\\nosupersub y") << "y" << "Arial/sans 12";
    QTest::newRow("caps") << doc("\\caps x") << "x" << "Arial/sans 12 caps";
    QTest::newRow("small caps") << doc("\\scaps x") << "x" << "Arial/sans 12 scaps";
    QTest::newRow("fs0 is 12 points") << doc("\\fs0 x") << "x" << "Arial/sans 12";
    QTest::newRow("huge size held at 1638") << doc("\\fs99999999999999999999 x") << "x" << "Arial/sans 1638";
    QTest::newRow("tiny size held at 1") << doc("\\fs1 x") << "x" << "Arial/sans 1";
    QTest::newRow("unknown font") << doc("\\f7 x") << "x" << "- 12";
    QTest::newRow("no font table") << QByteArray("{\\rtf1 x}") << "x" << "- 12";
    QTest::newRow("deff picks the default")
        << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}x}") << "x" << "B 12";
    QTest::newRow("explicit black at index 0")
        << QByteArray("{\\rtf1{\\colortbl\\red0\\green0\\blue0;}\\cf0 x}") << "x" << "- 12 fg=#000000";
    QTest::newRow("colour components held at 255")
        << QByteArray("{\\rtf1{\\colortbl;\\red999\\green-5\\blue255;}\\cf1 x}") << "x" << "- 12 fg=#ff00ff";
    QTest::newRow("font table without groups")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\fnil Arial;\\f1\\fnil Courier;}\\f1 x}") << "x" << "Courier 12";
    QTest::newRow("font name without semicolon")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 x}") << "x" << "Arial 12";
    QTest::newRow("panose before the name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\froman{\\*\\panose 02020603050405020304}Times;}}\\f0 x}") << "x"
        << "Times/serif 12";
    QTest::newRow("font name in its charset")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}\\f0 x}") << "x"
        << QString::fromUtf8("Ариал 12");
    QTest::newRow("undecodable name uses the alternative")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset130 \\'88\\'61\\'88\\'62{\\*\\falt MS Mincho};}}\\f0 x}")
        << "x" << "MS_Mincho 12";
    QTest::newRow("unicode font name") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Caf\\u233?;}}\\f0 x}") << "x"
                                       << QString::fromUtf8("Café 12");
    QTest::newRow("control characters left out of a font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\'7fB\\tab\\u1?\\u0?C;}}\\f0 x}") << "x" << "ABC 12";
    QTest::newRow("later table entry replaces")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A;}{\\f0 B;}}\\f0 x}") << "x" << "B 12";
}

void TstRtfReaderFormat::character()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, probe);
    QFETCH(QString, format);
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(input, &doc);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describeAt(doc, probe), format);
}

void TstRtfReaderFormat::paragraph_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("format");

    QTest::newRow("left by default") << rtf("a") << 0 << "left";
    QTest::newRow("center") << rtf("\\qc a") << 0 << "center";
    QTest::newRow("right") << rtf("\\qr a") << 0 << "right";
    QTest::newRow("justify") << rtf("\\qj a") << 0 << "justify";
    QTest::newRow("distributed reads as justify") << rtf("\\qd a") << 0 << "justify";
    QTest::newRow("ql after qc") << rtf("\\qc\\ql a") << 0 << "left";
    QTest::newRow("indents") << rtf("\\li720\\ri360\\fi-360 a") << 0 << "left li=720 ri=360 fi=-360";
    QTest::newRow("spacing") << rtf("\\sb120\\sa240 a") << 0 << "left sb=120 sa=240";
    QTest::newRow("proportional line height") << rtf("\\sl276\\slmult1 a") << 0 << "left lh=prop115";
    QTest::newRow("at least line height") << rtf("\\sl300\\slmult0 a") << 0 << "left lh=min300";
    QTest::newRow("exact line height") << rtf("\\sl-300 a") << 0 << "left lh=fixed300";
    QTest::newRow("format is the one at par") << rtf("a\\qc\\par b") << 0 << "center";
    QTest::newRow("next paragraph keeps it") << rtf("\\qc a\\par b") << 1 << "center";
    QTest::newRow("pard resets") << rtf("\\qc\\li100 a\\par\\pard b") << 1 << "left";
    QTest::newRow("group scope") << rtf("{\\qc a\\par}b") << 1 << "left";
    QTest::newRow("last paragraph without par") << rtf("a\\par\\qr b") << 1 << "right";
    QTest::newRow("empty paragraph") << rtf("a\\par\\qc\\par b") << 1 << "center";
    QTest::newRow("negative left indent held at 0") << rtf("\\li-500 a") << 0 << "left";
    QTest::newRow("hanging indent held at the margin") << rtf("\\li600\\fi-900 a") << 0 << "left li=600 fi=-600";
    QTest::newRow("huge indent held") << rtf("\\li99999999999 a") << 0 << "left li=31680";
}

void TstRtfReaderFormat::paragraph()
{
    QFETCH(QByteArray, input);
    QFETCH(int, block);
    QFETCH(QString, format);
    QTextDocument doc;
    QVERIFY(ReadRtf(input, &doc).ok);
    QVERIFY(block < doc.blockCount());
    QCOMPARE(describeBlock(doc.findBlockByNumber(block).blockFormat()), format);
}

// Damaged and foreign input: never a crash or a hang; what could be read is
// shown and the damage reported, and what is not RTF leaves the document alone.
class TstRtfReaderDamage : public QObject {
    Q_OBJECT
private slots:
    void damaged_data();
    void damaged();
    void notRtf_data();
    void notRtf();
    void binaryAfterHeaderGivesOnlyPlainText();
    void loadLeavesAFreshDocument();
    void nullDocument();
};

void TstRtfReaderDamage::damaged_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("errorPart");

    const QString cut = "cut short", after = "after its closing brace", deep = "nested";
    QTest::newRow("missing closing brace") << QByteArray("{\\rtf1 hello") << false << "hello" << cut;
    QTest::newRow("several open groups") << QByteArray("{\\rtf1 {\\b a {\\i b\\par c") << false << "a b\nc" << cut;
    QTest::newRow("cut in an escape") << QByteArray("{\\rtf1 a\\'4") << false << "a" << cut;
    QTest::newRow("cut after a backslash") << QByteArray("{\\rtf1 a\\") << false << "a" << cut;
    QTest::newRow("cut in a skipped group") << QByteArray("{\\rtf1 a{\\*\\foo b") << false << "a" << cut;
    QTest::newRow("cut in the font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << false << "" << cut;
    QTest::newRow("binary length beyond the end") << QByteArray("{\\rtf1 a\\bin99999999999 xyz}") << false << "a"
                                                  << cut;
    QTest::newRow("extra closing brace") << QByteArray("{\\rtf1 a}b}") << false << "a" << after;
    QTest::newRow("second document") << QByteArray("{\\rtf1 a}{\\rtf1 b}") << false << "a" << after;
    QTest::newRow("blanks and line breaks after the end") << QByteArray("{\\rtf1 a}\r\n \n") << true << "a" << "";
    QTest::newRow("NUL padding after the end") << QByteArray("{\\rtf1 a}\0\0\0", 12) << true << "a" << "";

    const int n = 100000;
    QTest::newRow("100000 nested groups")
        << QByteArray("{\\rtf1 a") + QByteArray(n, '{') + "deep" + QByteArray(n, '}') + "b}" << false << "ab" << deep;
    QTest::newRow("100000 open groups, never closed")
        << QByteArray("{\\rtf1 a") + QByteArray(n, '{') + "x" << false << "a" << cut;
    QByteArray nestedBold = "{\\rtf1 a";
    for (int i = 0; i < n; ++i)
        nestedBold += "{\\b ";
    QTest::newRow("100000 nested formatting groups") << nestedBold + "x" << false << "a" << cut;
    QTest::newRow("nesting at the limit is fine")
        << QByteArray("{\\rtf1 ") + QByteArray(kRtfMaxDepth - 1, '{') + "x" + QByteArray(kRtfMaxDepth - 1, '}') + "}"
        << true << "x" << "";
    QTest::newRow("million-digit parameter")
        << QByteArray("{\\rtf1\\fs") + QByteArray(1000000, '7') + " a\\li-" + QByteArray(1000, '9') + " b}" << true
        << "ab" << "";
    QTest::newRow("many lone escapes") << QByteArray("{\\rtf1 ") + QByteArray("\\'").repeated(100000) + "x}" << true
                                       << "x" << "";
    QTest::newRow("huge uc") << QByteArray("{\\rtf1 {\\uc99999999999\\u1044 abc}d}") << true
                             << QString::fromUtf8("Дd") << "";
}

void TstRtfReaderDamage::damaged()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(QString, errorPart);
    RtfReadResult r;
    QCOMPARE(readText(input, &r), text);
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.partial, !ok);  // damaged RTF still yields what was readable
    QVERIFY2(r.error.contains(errorPart), qPrintable(r.error));
    QCOMPARE(r.error.isEmpty(), ok);
}

void TstRtfReaderDamage::notRtf_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("empty") << QByteArray() << "empty";
    QTest::newRow("blank lines") << QByteArray(" \r\n\t\n") << "empty";
    QTest::newRow("plain text") << QByteArray("Net preamble\r\nGood evening\r\n") << "not an RTF";
    QTest::newRow("HTML") << QByteArray("<html><body>{\\rtf1 x}</body></html>") << "not an RTF";
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "not an RTF";
    QTest::newRow("almost a header") << QByteArray("{\\rtX1 x}") << "not an RTF";
    QTest::newRow("no opening brace") << QByteArray("\\rtf1 x}") << "not an RTF";
    QTest::newRow("UTF-16") << QByteArray("\xff\xfe{\0\\\0r\0t\0f\0", 12) << "not an RTF";
}

void TstRtfReaderDamage::notRtf()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, errorPart);
    QTextDocument doc;
    doc.setPlainText("keep me");
    const RtfReadResult r = ReadRtf(input, &doc);
    QVERIFY(!r.ok);
    QVERIFY(!r.partial);
    QVERIFY2(r.error.contains(errorPart), qPrintable(r.error));
    QCOMPARE(doc.toPlainText(), QString("keep me"));
}

void TstRtfReaderDamage::binaryAfterHeaderGivesOnlyPlainText()
{
    // A binary file behind an RTF header: whatever shows must be text the
    // document can hold, never its frame markers or control characters.
    quint32 seed = 12345;
    QByteArray input = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        input += char(seed >> 24);
    }
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(input, &doc);
    QVERIFY(!r.ok);
    QVERIFY(r.partial);
    QVERIFY(!doc.isEmpty());
    const QString text = blockTexts(doc);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        QVERIFY2(u == '\t' || u == '\n' || u == 0x2028 || (u >= 0x20 && (u < 0x7F || u > 0x9F)),
                 qPrintable(QString::number(u, 16)));
        QVERIFY(u != 0xFDD0 && u != 0xFDD1 && u != 0xFFFC && u != 0x2029);
    }
}

void TstRtfReaderDamage::loadLeavesAFreshDocument()
{
    QTextDocument doc;
    doc.setPlainText("old");
    QTextCursor(&doc).insertText("typed");
    QVERIFY(doc.isUndoAvailable());
    QVERIFY(doc.isModified());
    QVERIFY(ReadRtf(rtf("new"), &doc).ok);
    QCOMPARE(doc.toPlainText(), QString("new"));
    QVERIFY(!doc.isModified());
    QVERIFY(!doc.isUndoAvailable());
    QVERIFY(doc.isUndoRedoEnabled());  // an edit after loading can be undone again
}

void TstRtfReaderDamage::nullDocument()
{
    const RtfReadResult r = ReadRtf(rtf("x"), nullptr);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
}

VELN_TEST(TstRtfReaderText)
VELN_TEST(TstRtfReaderFormat)
VELN_TEST(TstRtfReaderDamage)
#include "tst_rtf_reader.moc"
