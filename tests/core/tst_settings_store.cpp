#include "core/settings_store.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <memory>

class TstSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void missingKeyGivesDefault();
    void namesAreCaseInsensitive();
    void caseInsensitiveAcrossRuns();
    void deleteRemovesOneKey();
    void valuesComeBackAsWritten_data();
    void valuesComeBackAsWritten();
    void handWrittenTypedValuesReadAsText_data();
    void handWrittenTypedValuesReadAsText();
    void onlyChangesAreWritten();
    void damagedFileIsKeptAside_data();
    void damagedFileIsKeptAside();
    void fileIsPrivate();
    void boolText_data();
    void boolText();
    void intText_data();
    void intText();
    void colourRoundTrip();
    void sizeText_data();
    void sizeText();
    void cleanUpEarlierKeys_data();
    void cleanUpEarlierKeys();

private:
    std::unique_ptr<TestHome> home_;
};

void TstSettingsStore::missingKeyGivesDefault()
{
    SettingsStore s(home_->settingsFile());
    QCOMPARE(s.GetSetting("Settings", "User Name"), QString());
    QCOMPARE(s.GetSetting("Settings", "User Name", "NOBODY"), QString("NOBODY"));
    QCOMPARE(s.GetSetting("First", "Firstime"), QString());
}

void TstSettingsStore::namesAreCaseInsensitive()
{
    SettingsStore s(home_->settingsFile());
    s.SaveSetting("Settings", "User Name", "PAT");
    QCOMPARE(s.GetSetting("settings", "USER NAME"), QString("PAT"));
    s.SaveSetting("SETTINGS", "user name", "SAM");
    QCOMPARE(s.GetSetting("Settings", "User Name"), QString("SAM"));
    // One value, not two spellings side by side.
    QFile f(home_->settingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QCOMPARE(text.count("SAM"), 1);
    QVERIFY(!text.contains("PAT"));
}

void TstSettingsStore::caseInsensitiveAcrossRuns()
{
    {
        SettingsStore s(home_->settingsFile());
        s.SaveSetting("Report", "Checkins", "42");
    }
    SettingsStore again(home_->settingsFile());
    QCOMPARE(again.GetSetting("REPORT", "checkins"), QString("42"));
    again.DeleteSetting("report", "CHECKINS");
    SettingsStore third(home_->settingsFile());
    QCOMPARE(third.GetSetting("Report", "Checkins"), QString());
}

void TstSettingsStore::deleteRemovesOneKey()
{
    SettingsStore s(home_->settingsFile());
    s.SaveSetting("NewMember", "0", "W1AW HIRAM CT");
    s.SaveSetting("NewMember", "1", "K9XYZ JO IL");
    s.DeleteSetting("NewMember", "0");
    s.DeleteSetting("NewMember", "7");  // missing: nothing happens
    QCOMPARE(s.GetSetting("NewMember", "0"), QString());
    QCOMPARE(s.GetSetting("NewMember", "1"), QString("K9XYZ JO IL"));
}

void TstSettingsStore::valuesComeBackAsWritten_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks and a comma") << "NewMember" << "3" << " W1AW HIRAM NEWINGTON, CT ";
    QTest::newRow("equals, semicolon, quote") << "Settings" << "NetMgr" << "a=b;c\"d";
    QTest::newRow("login text") << "Settings" << "QRZ ID" << "username=W1AW;";
    QTest::newRow("backslash and slash") << "Settings" << "Path" << "C:\\VELN Net\\x/y";
    QTest::newRow("starts with @") << "Settings" << "Odd" << "@Variant(x)";
    QTest::newRow("blank, then a typed value") << "Settings" << "Odd" << " @Variant(x)";
    QTest::newRow("tab, then a date-time") << "Settings" << "Odd" << "\t@DateTime(y)";
    QTest::newRow("control characters and hex digits") << "Settings" << "Ctl" << QString("a\tb\r\nc\x01" "f\x7f" "0");
    QTest::newRow("NUL before a digit") << "Settings" << "Nul" << QString::fromUtf16(u"1\u00002", 3);
    QTest::newRow("letters beyond ASCII") << "Screen" << QString::fromUtf8("Größe") << QString::fromUtf8("ŁUKASZ, Ærø 📻");
    QTest::newRow("empty") << "Report" << "Subject" << "";
    QTest::newRow("section named General") << "General" << "x" << "y";
    QTest::newRow("key with percent") << "Servers" << "100% sure" << "https://example.org/?a=1&b=2";
}

void TstSettingsStore::valuesComeBackAsWritten()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    {
        SettingsStore s(home_->settingsFile());
        s.SaveSetting(section, key, value);
        QVERIFY(s.lastWriteOk());
    }
    QCOMPARE(SettingsStore(home_->settingsFile()).GetSetting(section, key, "missing"), value);
    // The file QSettings itself wrote (earlier releases) reads the same.
    QFile::remove(home_->settingsFile());
    {
        QSettings qt(home_->settingsFile(), QSettings::IniFormat);
        qt.setValue(section + "/" + key, value);
    }
    QCOMPARE(SettingsStore(home_->settingsFile()).GetSetting(section, key, "missing"), value);
}

// QSettings would read these as binary data with lengths it trusts; a
// damaged file could ask for gigabytes. They come back as the text they show.
void TstSettingsStore::handWrittenTypedValuesReadAsText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("variant") << QByteArray("Odd=@Variant(AAAA)") << "@Variant(AAAA)";
    QTest::newRow("quoted date-time") << QByteArray("Odd=\"@DateTime(x)\"") << "@DateTime(x)";
    QTest::newRow("blank before it") << QByteArray("Odd = \t@Variant(x)") << "@Variant(x)";
    QTest::newRow("in a list") << QByteArray("Odd=a, @Variant(x)") << "a, @Variant(x)";
    QTest::newRow("huge length") << QByteArray("Odd=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff\\xff)")
                                 << QString::fromUtf16(u"@Variant(\0\0\0\u007f\u00ff\u00ff\u00ff\u00ff)", 18);
    QTest::newRow("escaped, as QSettings writes it") << QByteArray("Odd=@@Variant(x)") << "@Variant(x)";
    QTest::newRow("inside a value") << QByteArray("Odd=\"x@Variant(y)\"") << "x@Variant(y)";
    QTest::newRow("inside quotes after a comma") << QByteArray("Odd=\"x, @Variant(y)\"") << "x, @Variant(y)";
}

void TstSettingsStore::handWrittenTypedValuesReadAsText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    {
        QFile f(home_->settingsFile());
        QVERIFY(QDir().mkpath(QFileInfo(f).absolutePath()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nBefore=1\n" + line + "\nAfter=2\n");
    }
    SettingsStore s(home_->settingsFile());
    QCOMPARE(s.GetSetting("Settings", "Odd", "missing"), value);
    QCOMPARE(s.GetSetting("Settings", "Before"), QString("1"));
    QCOMPARE(s.GetSetting("Settings", "After"), QString("2"));
    // Written again by the store, it stays text.
    s.SaveSetting("Settings", "Before", "3");
    QCOMPARE(SettingsStore(home_->settingsFile()).GetSetting("Settings", "Odd", "missing"), value);
}

// Exit stores every look setting: unchanged ones must not rewrite the file.
void TstSettingsStore::onlyChangesAreWritten()
{
    SettingsStore s(home_->settingsFile());
    s.SaveSetting("Screen", "Font", "Arial");
    const QByteArray byHand = "[Screen]\nFont=\"Arial\"\nNote=\"by hand\"\n";
    writeBytes(home_->settingsFile(), byHand);
    s.SaveSetting("screen", "font", "Arial");
    QVERIFY(s.lastWriteOk());
    QCOMPARE(readBytes(home_->settingsFile()), byHand);
    s.SaveSetting("Screen", "Font", "Courier");
    QVERIFY(readBytes(home_->settingsFile()).contains("Courier"));
}

void TstSettingsStore::damagedFileIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kept");  // a value read from it all the same
    QTest::newRow("NUL bytes") << QByteArray("[Settings]\nUser Name=ANN\n\0\0\0\0", 28) << "";
    QTest::newRow("not UTF-8") << QByteArray("[Settings]\nUser Name=ANN\n\xff\xfe\n") << "";
    QTest::newRow("a line of noise") << QByteArray("[Settings]\nUser%20Name=ANN\nnoise without a key\n") << "ANN";
    QTest::newRow("larger than settings take") << QByteArray() << "";
}

void TstSettingsStore::damagedFileIsKeptAside()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kept);
    const QString path = home_->settingsFile();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (bytes.isEmpty()) {
        // A sparse file of 1 GB: refused by its size, never read.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(1) << 30));
    } else {
        writeBytes(path, bytes);
    }
    QElapsedTimer timer;
    timer.start();
    SettingsStore s(path);
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY2(s.notice().contains(path + ".damaged"), qPrintable(s.notice()));
    QCOMPARE(s.GetSetting("Settings", "User Name"), kept);
    if (!bytes.isEmpty())
        QCOMPARE(readBytes(path + ".damaged"), bytes);
    else
        QCOMPARE(QFileInfo(path + ".damaged").size(), qint64(1) << 30);
    // The store goes on in a sound file, and the next run hears nothing.
    s.SaveSetting("Settings", "NetMgr", "BOB");
    QVERIFY(s.lastWriteOk());
    SettingsStore next(path);
    QVERIFY(next.notice().isEmpty());
    QCOMPARE(next.GetSetting("Settings", "NetMgr"), QString("BOB"));
    QCOMPARE(next.GetSetting("Settings", "User Name"), kept);
}

void TstSettingsStore::fileIsPrivate()
{
    SettingsStore s(home_->settingsFile());
    s.SaveSetting("Settings", "QRZ PW", "secret");
    const auto perms = QFile::permissions(home_->settingsFile());
    QVERIFY(perms & QFile::ReadOwner);
    QVERIFY(!(perms & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther)));
}

void TstSettingsStore::boolText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");  // -1: no value
    QTest::newRow("True") << "True" << 1;
    QTest::newRow("FALSE") << "FALSE" << 0;
    QTest::newRow("true") << "true" << 1;
    QTest::newRow("-1") << "-1" << 1;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("word") << "yes" << -1;
}

void TstSettingsStore::boolText()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const auto b = SettingValue::toBool(text);
    QCOMPARE(b.has_value(), value != -1);
    if (b)
        QCOMPARE(int(*b), value);
    if (b)
        QCOMPARE(SettingValue::toBool(SettingValue::fromBool(*b)), b);
}

void TstSettingsStore::intText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "123" << true << 123;
    QTest::newRow("negative") << "-5" << true << -5;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("separator") << "1,000" << false << 0;
    QTest::newRow("letters") << "12ab" << false << 0;
    QTest::newRow("inner minus") << "1-2" << false << 0;
}

void TstSettingsStore::intText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto v = SettingValue::toInt(text);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(*v, value);
}

void TstSettingsStore::colourRoundTrip()
{
    // Red sits in the low byte of the stored number.
    QCOMPARE(SettingValue::fromColour(0xFF0000), QString("255"));
    QCOMPARE(SettingValue::fromColour(0x0000FF), QString("16711680"));
    QCOMPARE(SettingValue::toColour("65280"), std::optional<quint32>(0x00FF00));
    QCOMPARE(SettingValue::toColour("255"), std::optional<quint32>(0xFF0000));
    QCOMPARE(SettingValue::toColour(SettingValue::fromColour(0x123456)), std::optional<quint32>(0x123456));
    QVERIFY(!SettingValue::toColour("").has_value());
    QVERIFY(!SettingValue::toColour("-1").has_value());
    QVERIFY(!SettingValue::toColour("99999999").has_value());
}

void TstSettingsStore::sizeText_data()
{
    QTest::addColumn<float>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("9.75") << 9.75f << "9.75";
    QTest::newRow("12") << 12.0f << "12";
    QTest::newRow("13.8") << 13.8f << "13.8";
    QTest::newRow("28.8") << 28.8f << "28.8";
}

void TstSettingsStore::sizeText()
{
    QFETCH(float, size);
    QFETCH(QString, text);
    QCOMPARE(SettingValue::fromSize(size), text);
    QCOMPARE(SettingValue::toSize(text), std::optional<float>(size));
    QVERIFY(!SettingValue::toSize("big").has_value());
}

void TstSettingsStore::cleanUpEarlierKeys_data()
{
    QTest::addColumn<bool>("withTop");
    QTest::addColumn<bool>("withAutoInsert");
    QTest::newRow("neither") << false << false;
    QTest::newRow("window keys only") << true << false;
    QTest::newRow("option keys only") << false << true;
    QTest::newRow("both") << true << true;
}

void TstSettingsStore::cleanUpEarlierKeys()
{
    QFETCH(bool, withTop);
    QFETCH(bool, withAutoInsert);
    SettingsStore s(home_->settingsFile());
    const QStringList window{"Top", "Height", "Left", "Width"};
    const QStringList options{"AutoInsertChecked", "AutoInsertEnabled", "DisableDing", "DisableWindowFlash"};
    for (const QString& k : window)
        s.SaveSetting("Settings", k, withTop || k != "Top" ? "100" : "");
    for (const QString& k : options)
        s.SaveSetting("Settings", k, withAutoInsert || k != "AutoInsertChecked" ? "True" : "");
    s.SaveSetting("Settings", "User Name", "PAT");
    CleanUpEarlierReleaseKeys(s);
    for (const QString& k : window)
        QCOMPARE(s.GetSetting("Settings", k).isEmpty(), withTop || k == "Top");
    for (const QString& k : options)
        QCOMPARE(s.GetSetting("Settings", k).isEmpty(), withAutoInsert || k == "AutoInsertChecked");
    QCOMPARE(s.GetSetting("Settings", "User Name"), QString("PAT"));
}

VELN_TEST(TstSettingsStore)
#include "tst_settings_store.moc"
