#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "rtf_test_util.h"
#include "test_main.h"

#include <QTest>
#include <QTextDocument>

using rtftest::blockTexts;
using rtftest::describeAll;
using rtftest::describeAt;
using rtftest::describeBlock;

namespace {

// Written by hand in the manner of a full word processor: theme and panose
// data, a stylesheet, info, revision ids, associated fonts, a latent-style
// table and a data store, with text runs split into many groups.
const char kWordProcessor[] =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506"
    "\\stshfhich31506\\stshfbi31507\\deflang1033\\deflangfe1033\\themelang1033\\themelangfe0\\themelangcs0"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020b0604020202020204}Arial;}\r\n"
    "{\\f34\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02040503050406030204}Cambria Math;}\r\n"
    "{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}\r\n"
    "{\\flominor\\f31506\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020f0502020204030204}Calibri;}\r\n"
    "{\\f39\\fbidi \\froman\\fcharset238\\fprq2 Times New Roman CE;}{\\f40\\fbidi \\froman\\fcharset204\\fprq2 Times "
    "New Roman Cyr;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\ctextone\\ctint255\\cshade255\\red0\\green0\\blue0;}\r\n"
    "{\\*\\defchp \\fs22\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259"
    "\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 }\\noqfpromote \r\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
    "\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1033"
    "\\langfe1033\\loch\\f31506\\hich\\af31506\\dbch\\af31505\\cgrid\\langnp1033\\langfenp1033 \\snext0 \\sqformat "
    "\\spriority0 Normal;}{\\*\\cs10 \\additive \\ssemihidden \\sunhideused \\spriority1 Default Paragraph Font;}}\r\n"
    "{\\*\\rsidtbl \\rsid1062400\\rsid6229330}{\\mmathPr\\mmathFont34\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1"
    "\\mlMargin0\\mrMargin0\\mdefJc1\\mwrapIndent1440\\mintLim0\\mnaryLim1}{\\info{\\title Net Preamble}"
    "{\\author Net Manager}{\\operator Net Manager}{\\creatim\\yr2023\\mo3\\dy4\\hr10\\min5}{\\revtim\\yr2023\\mo3"
    "\\dy4\\hr10\\min7}{\\version2}{\\edmins1}{\\nofpages1}{\\nofwords30}{\\nofchars175}{\\nofcharsws204}{\\vern49}}\r\n"
    "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\\paperw12240\\paperh15840"
    "\\margl1440\\margr1440\\margt1440\\margb1440\\gutter0\\ltrsect \r\n"
    "\\widowctrl\\ftnbj\\aenddoc\\trackmoves0\\trackformatting1\\donotembedsysfont1\\relyonvml0\\donotembedlingdata0"
    "\\grfdocevents0\\validatexml1\\showplaceholdtext0\\ignoremixedcontent0\\saveinvalidxml0\\showxmlerrors1\r\n"
    "{\\*\\wgrffmtfilter 2450}\\nofeaturethrottle1\\ilfomacatclnup0\\ltrpar \\sectd \\ltrsect\\linex0\\endnhere"
    "\\sectlinegrid360\\sectdefaultcl\\sftnbj {\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n"
    "\\pard\\plain \\ltrpar\\qc \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
    "\\adjustright\\rin0\\lin0\\itap0\\pararsid6229330 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 "
    "\\fs22\\lang1033\\langfe1033\\loch\\af31506\\hich\\af31506\\dbch\\af31505\\cgrid\\langnp1033\\langfenp1033 "
    "{\\rtlch\\fcs1 \\ab\\af1\\afs28 \\ltrch\\fcs0 \\b\\f1\\fs28\\cf6\\insrsid6229330\\charrsid6229330 "
    "\\hich\\af1\\dbch\\af31505\\loch\\f1 NET PREAMBLE}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid6229330 \r\n"
    "\\par }\\pard \\ltrpar\\qj \\li720\\ri720\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum"
    "\\faauto\\adjustright\\rin720\\lin720\\itap0\\pararsid6229330 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 "
    "\\insrsid6229330 \\hich\\af31506\\dbch\\af31505\\loch\\f31506 This is }{\\rtlch\\fcs1 \\ai\\af31507 \\ltrch"
    "\\fcs0 \\i\\insrsid6229330 \\hich\\af31506\\dbch\\af31505\\loch\\f31506 the}{\\rtlch\\fcs1 \\af31507 \\ltrch"
    "\\fcs0 \\insrsid6229330 \\hich\\af31506\\dbch\\af31505\\loch\\f31506  net control station \\endash  please "
    "stand by \\'93for\\'94 check-ins.{\\*\\bkmkstart end}{\\*\\bkmkend end}\r\n"
    "\\par }{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e745f5479706573"
    "5d2e786d6cac91cb4ec3301045f748fc83e52d4a}\r\n"
    "{\\*\\colorschememapping 3c3f786d6c2076657273696f6e3d22312e302220656e636f64696e673d225554462d3822}\r\n"
    "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0\\lsdsemihiddendef0{\\lsdlockedexcept \\lsdqformat1 "
    "\\lsdpriority0 \\lsdlocked0 Normal;\\lsdqformat1 \\lsdpriority9 \\lsdlocked0 heading 1;}}\r\n"
    "{\\*\\datastore 0105000002000000180000004d73786d6c322e534158584d4c5265616465722e362e300000000000000000}}\r\n";

// In the manner of a simple editor built on a rich-edit control: \viewkind4
// and \uc1, a generator, paragraph numbering with \pntext bullets, blank
// lines between paragraphs and a final \par.
const char kSimpleEditor[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
    "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f0\\fs32\\lang9 Net Control Instructions\\par\r\n"
    "\r\n"
    "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720\\sa200\\sl276"
    "\\slmult1\\b0\\fs22 Open the net on time.\\par\r\n"
    "{\\pntext\\f1\\'B7\\tab}Take check-ins by \\cf1 region\\cf0 .\\par\r\n"
    "\r\n"
    "\\pard\\sa200\\sl276\\slmult1\\i Closing: \\i0\\cf2 73 and thanks\\cf0\\par\r\n"
    "}\r\n";

// Text outside the document's code page written as \u with fallbacks, as
// editors do for other scripts: Latin-1, Cyrillic in a charset-204 font,
// CJK with two-byte fallbacks, a character beyond the BMP and \uc0 stars.
const char kUnicodeEscapes[] =
    "{\\rtf1\\ansi\\deff0\\uc1{\\fonttbl{\\f0\\froman\\fcharset0 Liberation Serif;}"
    "{\\f1\\fswiss\\fcharset204 Arial Cyr;}}\r\n"
    "\\pard\\plain\\f0\\fs24 Gr\\u252\\'fc\\u223\\'df Gott \\u8212? caf\\u233 e\\par\r\n"
    "\\f1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 {\\uc2\\u20320\\'c4\\'e3\\u22909\\'ba\\'c3} \\u-10179?\\u-8704?\\par\r\n"
    "{\\uc0\\u9733\\u9734}\\par}";

}  // namespace

// Documents of the kinds real editors write: what they read as, and that
// writing what was read gives the same document again.
class TstRtfEditorSamples : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void characters_data();
    void characters();
    void paragraphs_data();
    void paragraphs();
    void writtenBackReadsTheSame_data();
    void writtenBackReadsTheSame();
};

void TstRtfEditorSamples::text_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("word processor") << QByteArray(kWordProcessor)
                                    << QString::fromUtf8("NET PREAMBLE\nThis is the net control station – please "
                                                         "stand by “for” check-ins.");
    QTest::newRow("simple editor") << QByteArray(kSimpleEditor)
                                   << QString::fromUtf8("Net Control Instructions\n•\tOpen the net on time.\n"
                                                        "•\tTake check-ins by region.\nClosing: 73 and thanks");
    QTest::newRow("unicode escapes") << QByteArray(kUnicodeEscapes)
                                     << QString::fromUtf8("Grüß Gott — café\nПривет 你好 😀\n★☆");
}

void TstRtfEditorSamples::text()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QTextDocument doc;
    const RtfReadResult r = ReadRtf(input, &doc);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(blockTexts(doc), text);
}

void TstRtfEditorSamples::characters_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("format");
    const QByteArray word(kWordProcessor), simple(kSimpleEditor), uni(kUnicodeEscapes);
    QTest::newRow("heading") << word << "NET" << "Arial/sans 14 b fg=#ff0000";
    QTest::newRow("body in the theme's minor font") << word << "This" << "Calibri/sans 11";
    QTest::newRow("italic word") << word << "the net" << "Calibri/sans 11 i";
    QTest::newRow("after the italic word") << word << " net" << "Calibri/sans 11";
    QTest::newRow("editor title") << simple << "Net Control" << "Calibri 16 b";
    QTest::newRow("editor bullet inherits the title's size") << simple << QString::fromUtf8("•") << "Symbol 16 b";
    QTest::newRow("editor body") << simple << "Open" << "Calibri 11";
    QTest::newRow("editor red word") << simple << "region" << "Calibri 11 fg=#ff0000";
    QTest::newRow("editor after colour") << simple << "." << "Calibri 11";
    QTest::newRow("editor italic") << simple << "Closing" << "Calibri 11 i";
    QTest::newRow("editor blue") << simple << "73" << "Calibri 11 fg=#004dbb";
    QTest::newRow("latin text") << uni << "Gr" << "Liberation_Serif/serif 12";
    QTest::newRow("cyrillic font") << uni << QString::fromUtf8("При") << "Arial_Cyr/sans 12";
}

void TstRtfEditorSamples::characters()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, probe);
    QFETCH(QString, format);
    QTextDocument doc;
    QVERIFY(ReadRtf(input, &doc).ok);
    QCOMPARE(describeAt(doc, probe), format);
}

void TstRtfEditorSamples::paragraphs_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("formats");
    QTest::newRow("word processor") << QByteArray(kWordProcessor)
                                    << QStringList{"center sa=160 lh=prop108", "justify li=720 ri=720 sa=160 lh=prop108"};
    QTest::newRow("simple editor") << QByteArray(kSimpleEditor)
                                   << QStringList{"center sa=200 lh=prop115", "left li=720 fi=-360 sa=200 lh=prop115",
                                                  "left li=720 fi=-360 sa=200 lh=prop115", "left sa=200 lh=prop115"};
}

void TstRtfEditorSamples::paragraphs()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, formats);
    QTextDocument doc;
    QVERIFY(ReadRtf(input, &doc).ok);
    QStringList actual;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        actual << describeBlock(b.blockFormat());
    QCOMPARE(actual, formats);
}

void TstRtfEditorSamples::writtenBackReadsTheSame_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("word processor") << QByteArray(kWordProcessor);
    QTest::newRow("simple editor") << QByteArray(kSimpleEditor);
    QTest::newRow("unicode escapes") << QByteArray(kUnicodeEscapes);
}

void TstRtfEditorSamples::writtenBackReadsTheSame()
{
    QFETCH(QByteArray, input);
    QTextDocument first, second;
    QVERIFY(ReadRtf(input, &first).ok);
    const QByteArray written = WriteRtf(first);
    const RtfReadResult r = ReadRtf(written, &second);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describeAll(second), describeAll(first));
    // And once more: writing is stable, not drifting with each save.
    QCOMPARE(WriteRtf(second), written);
}

VELN_TEST(TstRtfEditorSamples)
#include "tst_rtf_samples.moc"
