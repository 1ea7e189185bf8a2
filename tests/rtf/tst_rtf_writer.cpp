#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "rtf_test_util.h"
#include "full_disk.h"
#include "member_files.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <memory>

using rtftest::blockTexts;
using rtftest::describeAt;
using rtftest::describeBlock;

namespace {

// Writes doc and reads it into a fresh document, failing the test when the
// written RTF does not read cleanly.
bool roundTrip(const QTextDocument& doc, QTextDocument* out)
{
    const RtfReadResult r = ReadRtf(WriteRtf(doc), out);
    if (!r.ok)
        qWarning("%s", qPrintable(r.error));
    return r.ok;
}

}  // namespace

// What WriteRtf writes reads back to the same text and formatting.
class TstRtfWriter : public QObject {
    Q_OBJECT
private slots:
    void character_data();
    void character();
    void paragraph_data();
    void paragraph();
    void text_data();
    void text();
    void paragraphs_data();
    void paragraphs();
    void emptyParagraphKeepsItsSize();
    void unformattedTextTakesTheDocumentFont();
    void indentLevelsBecomeAMargin();
    void longTextIsWrappedAndIntact();
};

void TstRtfWriter::character_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("readBack");
    const auto same = [](const char* name, const QString& f) { QTest::newRow(name) << f << f; };
    same("family and size", "Arial 12");
    same("serif, half point, bold", "Times_New_Roman/serif 10.5 b");
    same("mono italic underlined", "Courier_New/mono 8 i u");
    same("script hint", "Brush/script 20");
    same("decorative hint", "Wingdings/decor 12");
    same("strike", "Verdana 14 s");
    same("text colour", "Arial 12 fg=#ff0000");
    same("explicit black is not automatic", "Arial 12 fg=#000000");
    same("background", "Arial 12 bg=#ffff00");
    same("everything", "Arial 12 b i u s fg=#123456 bg=#abcdef");
    same("superscript", "Arial 12 super");
    same("subscript", "Arial 12 sub");
    same("capitals", "Arial 12 caps");
    same("small capitals", "Arial 12 scaps");
    same("family outside 1252", QString::fromUtf8("Ариал 12"));
    QTest::newRow("quarter point rounds to the half") << "Arial 9.75" << "Arial 10";
    QTest::newRow("tenth rounds to the half") << "Arial 9.7" << "Arial 9.5";
    QTest::newRow("size held at 1638") << "Arial 2000" << "Arial 1638";
    QTest::newRow("semicolon cannot be in a font name") << "A;B 12" << "AB 12";
}

void TstRtfWriter::character()
{
    QFETCH(QString, format);
    QFETCH(QString, readBack);
    QTextDocument doc, back;
    QTextCursor(&doc).insertText("before", rtftest::charFromDescription("Arial 12"));
    QTextCursor end(&doc);
    end.movePosition(QTextCursor::End);
    end.insertText("x", rtftest::charFromDescription(format));
    end.insertText("after", rtftest::charFromDescription("Arial 12"));
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(blockTexts(back), QString("beforexafter"));
    QCOMPARE(describeAt(back, "x"), readBack);
    QCOMPARE(describeAt(back, "after"), QString("Arial 12"));  // nothing leaks into the next run
}

void TstRtfWriter::paragraph_data()
{
    QTest::addColumn<QString>("format");
    for (const char* f : {"left", "center", "right", "justify", "left li=720 ri=360 fi=-360", "center li=15",
                          "left sb=120 sa=240", "left lh=prop150", "left lh=prop115", "left lh=min300",
                          "left lh=fixed300", "justify li=1440 ri=1440 fi=360 sb=60 sa=60 lh=prop200"})
        QTest::newRow(f) << QString(f);
}

void TstRtfWriter::paragraph()
{
    QFETCH(QString, format);
    QTextDocument doc, back;
    QTextCursor c(&doc);
    c.setBlockFormat(rtftest::blockFromDescription(format));
    c.insertText("x");
    c.insertBlock(QTextBlockFormat());
    c.insertText("next");
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(back.blockCount(), 2);
    QCOMPARE(describeBlock(back.firstBlock().blockFormat()), format);
    QCOMPARE(describeBlock(back.lastBlock().blockFormat()), QString("left"));  // \pard per paragraph
}

void TstRtfWriter::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    const auto same = [](const char* name, const QString& t) { QTest::newRow(name) << t << t; };
    same("plain", "Good evening");
    same("backslash and braces", "back\\slash {braces} }{ \\par not a word");
    same("tab", "a\tb");
    same("line separator", QString("a") + QChar(0x2028) + "b");
    same("no-break space", QString("a") + QChar(0xA0) + "b");
    same("soft hyphen", QString("a") + QChar(0xAD) + "b");
    same("no-break hyphen", QString("a") + QChar(0x2011) + "b");
    same("1252 punctuation", QString::fromUtf8("€ “quotes” – dash ‰ …"));
    same("Latin-1 letters", QString::fromUtf8("Grüße àéîõü ÿ"));
    same("cyrillic", QString::fromUtf8("Привет"));
    same("CJK", QString::fromUtf8("你好"));
    same("beyond the BMP", QString::fromUtf8("a😀b"));
    same("question mark after an escape", QString::fromUtf8("Д?"));
    same("digit after an escape", QString::fromUtf8("Д1 é9"));
    same("hex letters after a byte escape", QString::fromUtf8("éab"));
    same("semicolon", "semi;colon");
    same("first character above Latin-1", QString::fromUtf8("ÿĀ"));
    same("replacement character", QString(QChar(0xFFFD)));
    QTest::newRow("control characters dropped") << QString("a") + QChar(1) + QChar(0x81) + "b" << "ab";
}

void TstRtfWriter::text()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QTextDocument doc, back;
    QTextCursor(&doc).insertText(text);
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(blockTexts(back), readBack);
    for (const char byte : WriteRtf(doc))
        QVERIFY2(uchar(byte) < 0x80, "RTF output is 7-bit");
}

void TstRtfWriter::paragraphs_data()
{
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("one") << QStringList{"a"};
    QTest::newRow("empty document") << QStringList{""};
    QTest::newRow("empty last paragraph") << QStringList{"a", ""};
    QTest::newRow("empty first paragraph") << QStringList{"", "a"};
    QTest::newRow("mixed") << QStringList{"a", "", "b", ""};
    QTest::newRow("only empty paragraphs") << QStringList{"", "", ""};
}

void TstRtfWriter::paragraphs()
{
    QFETCH(QStringList, blocks);
    QTextDocument doc, back;
    doc.setPlainText(blocks.join('\n'));
    QCOMPARE(doc.blockCount(), blocks.size());
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(back.blockCount(), blocks.size());
    QCOMPARE(blockTexts(back), blocks.join('\n'));
}

void TstRtfWriter::emptyParagraphKeepsItsSize()
{
    QTextDocument doc, back;
    QTextCursor c(&doc);
    c.insertText("a", rtftest::charFromDescription("Arial 12"));
    c.insertBlock(QTextBlockFormat(), rtftest::charFromDescription("Arial 30"));
    c.insertBlock(QTextBlockFormat(), rtftest::charFromDescription("Arial 12"));
    c.insertText("b", rtftest::charFromDescription("Arial 12"));
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(back.blockCount(), 3);
    QCOMPARE(back.findBlockByNumber(1).charFormat().fontPointSize(), 30.0);
}

void TstRtfWriter::unformattedTextTakesTheDocumentFont()
{
    QTextDocument doc, back;
    QFont font("DejaVu Serif");
    font.setPointSizeF(11.5);
    doc.setDefaultFont(font);
    doc.setPlainText("x");
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(describeAt(back, "x"), QString("DejaVu_Serif 11.5"));
}

void TstRtfWriter::indentLevelsBecomeAMargin()
{
    QTextDocument doc, back;
    doc.setIndentWidth(40);
    QTextCursor c(&doc);
    QTextBlockFormat b;
    b.setIndent(2);
    b.setLeftMargin(10);
    c.setBlockFormat(b);
    c.insertText("x");
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(describeBlock(back.firstBlock().blockFormat()), QString("left li=1350"));
}

void TstRtfWriter::longTextIsWrappedAndIntact()
{
    QString text;
    const QString pieces[] = {"word ", "\\", "{", "}", QString::fromUtf8("é"), QString::fromUtf8("Ж"), "\t",
                              QString::fromUtf8("😀")};
    for (int i = 0; i < 20000; ++i)
        text += pieces[(i * 7 + i / 3) % 8];
    QTextDocument doc, back;
    QTextCursor(&doc).insertText(text);
    const QByteArray written = WriteRtf(doc);
    for (const QByteArray& line : written.split('\n'))
        QVERIFY2(line.size() <= 220, line.left(60).constData());
    QVERIFY(roundTrip(doc, &back));
    QCOMPARE(blockTexts(back), text);
}

// Files: loading reports what it cannot read; saving never leaves half a file.
class TstRtfFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void saveThenLoad();
    void saveReplacesALongerFile();
    void saveFailure_data();
    void saveFailure();
    void saveOnFullDiskKeepsOldFile();
    void loadFailure_data();
    void loadFailure();
    void damagedFileShowsWhatWasRead();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TstRtfFiles::saveThenLoad()
{
    QTextDocument doc, back;
    QTextCursor c(&doc);
    c.insertText("Preamble", rtftest::charFromDescription("Times_New_Roman/serif 14 b"));
    QString error = "untouched";
    QVERIFY2(SaveRtfFile(path("VelnPreamble.rtf"), doc, &error), qPrintable(error));
    QVERIFY(LoadRtfFile(path("VelnPreamble.rtf"), &back, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(describeAt(back, "Preamble"), QString("Times_New_Roman/serif 14 b"));
}

void TstRtfFiles::saveReplacesALongerFile()
{
    QFile old(path("doc.rtf"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    QTextDocument doc, back;
    doc.setPlainText("short");
    QVERIFY(SaveRtfFile(path("doc.rtf"), doc, nullptr));
    QFile saved(path("doc.rtf"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), WriteRtf(doc));
}

void TstRtfFiles::saveFailure_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << "no such folder/doc.rtf";
    QTest::newRow("folder in the way") << "folder";
    QTest::newRow("file as a folder") << "plain.txt/doc.rtf";
}

void TstRtfFiles::saveFailure()
{
    QFETCH(QString, target);
    QVERIFY(QDir(dir_->path()).mkdir("folder"));
    QFile plain(path("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();

    QTextDocument doc;
    doc.setPlainText("text");
    QString error;
    QVERIFY(!SaveRtfFile(path(target), doc, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path(target))), qPrintable(error));
    QVERIFY(QFileInfo(path("folder")).isDir());
    QCOMPARE(QFileInfo(path("plain.txt")).size(), 4);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"folder", "plain.txt"}));  // no temporary file left behind
}

void TstRtfFiles::saveOnFullDiskKeepsOldFile()
{
    FullDisk disk;
    REQUIRE_FULL_DISK(disk);
    const QString target = disk.folder() + "/VelnPreamble.rtf";
    writeBytes(target, "{\\rtf1 the net's own preamble}");
    const QByteArray old = readBytes(target);
    QTextDocument doc;
    doc.setPlainText(QString(3000, 'p'));
    disk.fill();
    const QString error = disk.attempt([&] {
        QString e;
        return SaveRtfFile(target, doc, &e) ? QString() : e;
    });
    QVERIFY2(error.contains(target), qPrintable("error: " + error));
    QCOMPARE(readBytes(target), old);
}

void TstRtfFiles::loadFailure_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: made by the test itself
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("missing") << "missing.rtf" << QByteArray() << "Cannot open";
    QTest::newRow("plain text") << "notes.rtf" << QByteArray("Net preamble\r\n") << "not an RTF";
    QTest::newRow("empty") << "empty.rtf" << QByteArray() << "empty";
    QTest::newRow("folder") << "folder.rtf" << QByteArray() << "folder.rtf";
    QTest::newRow("too large") << "huge.rtf" << QByteArray() << "too large";
}

void TstRtfFiles::loadFailure()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, errorPart);
    QFile file(path(name));
    if (name == "folder.rtf") {
        QVERIFY(QDir(dir_->path()).mkdir(name));
    } else if (name != "missing.rtf") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.isEmpty() ? QByteArray("{\\rtf1 x}") : content);
        if (name == "empty.rtf")
            QVERIFY(file.resize(0));
        if (name == "huge.rtf")
            QVERIFY(file.resize(kRtfMaxFileBytes + 1));  // sparse: cheap to make
        file.close();
    }

    QTextDocument doc;
    doc.setPlainText("keep me");
    QString error;
    QVERIFY(!LoadRtfFile(path(name), &doc, &error));
    QVERIFY2(error.contains(errorPart), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path(name))), qPrintable(error));
    QCOMPARE(doc.toPlainText(), QString("keep me"));
    QVERIFY(!ReadRtfFile(path(name), &doc).partial);
}

void TstRtfFiles::damagedFileShowsWhatWasRead()
{
    QFile file(path("cut.rtf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi {\\b Good evening\\par Net");
    file.close();
    QTextDocument doc;
    doc.setPlainText("old");
    QString error;
    QVERIFY(!LoadRtfFile(path("cut.rtf"), &doc, &error));
    QVERIFY(error.contains("cut short"));
    QCOMPARE(doc.toPlainText(), QString("Good evening\nNet"));
    QVERIFY(ReadRtfFile(path("cut.rtf"), &doc).partial);
}

VELN_TEST(TstRtfWriter)
VELN_TEST(TstRtfFiles)
#include "tst_rtf_writer.moc"
