#include "core/paths.h"
#include "core/settings_store.h"
#include "members/operator_identity.h"
#include "startup/startup_sequence.h"
#include "test_home.h"
#include "test_main.h"

#include <QSet>
#include <QTest>
#include <memory>

class TstStartupSequence : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dateTexts_data();
    void dateTexts();
    void identity_data();
    void identity();
    void emptyFirstRunAnswersAskAgainNextTime();
    void qrzOffer_data();
    void qrzOffer();
    void earlierManagerFlagRemoved_data();
    void earlierManagerFlagRemoved();
    void tenSayingsOfTheRequiredForm();
    void sayingNumber_data();
    void sayingNumber();
    void everySayingCanBeDrawn();
    void sayingFontSize_data();
    void sayingFontSize();
    void greeting_data();
    void greeting();
    void greetingSoundInDocumentsFolder();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> store_;
    QString get(const QString& key) const { return store_->GetSetting(QStringLiteral("Settings"), key); }
    void set(const QString& key, const QString& value) { store_->SaveSetting(QStringLiteral("Settings"), key, value); }
};

void TstStartupSequence::init()
{
    home_ = std::make_unique<TestHome>();
    store_ = std::make_unique<SettingsStore>(home_->settingsFile());
}

void TstStartupSequence::cleanup()
{
    store_.reset();
    home_.reset();
}

void TstStartupSequence::dateTexts_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::newRow("padded") << QDate(2026, 3, 7) << "03/07/2026" << "2026" << "03" << "07";
    QTest::newRow("two digits") << QDate(2025, 12, 19) << "12/19/2025" << "2025" << "12" << "19";
    QTest::newRow("leap day") << QDate(2028, 2, 29) << "02/29/2028" << "2028" << "02" << "29";
}

void TstStartupSequence::dateTexts()
{
    QFETCH(QDate, date);
    const Startup::DateTexts t = Startup::DateTextsFor(date);
    QTEST(t.today, "today");
    QTEST(t.reportYear, "year");
    QTEST(t.monthNumber, "month");
    QTEST(t.dayOfMonth, "day");
}

void TstStartupSequence::identity_data()
{
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedCall");
    QTest::addColumn<QString>("answerName");
    QTest::addColumn<QString>("answerCall");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("lblName");
    QTest::addColumn<QString>("controlName");
    QTest::addColumn<QString>("controlCall");
    QTest::addColumn<QString>("nameAfter");
    QTest::addColumn<QString>("callAfter");

    QTest::newRow("first run, net control") << "" << "" << "ADA" << "K0ADA" << true << "ADA" << "ADA" << "K0ADA"
                                            << "ADA" << "K0ADA";
    QTest::newRow("first run, not net control") << "" << "" << "ADA" << "K0ADA" << false << "ADA" << "" << ""
                                                << "ADA" << "K0ADA";
    // Later runs keep the stored identity: the dialog's entries are not stored,
    // and the net control is the stored name in upper case with the stored call.
    QTest::newRow("later run, net control") << "Bob" << "w1bob" << "CARL" << "N2CAR" << true << "BOB" << "BOB"
                                            << "w1bob" << "Bob" << "w1bob";
    QTest::newRow("later run, not net control") << "Bob" << "w1bob" << "BOB" << "W1BOB" << false << "BOB" << ""
                                                << "" << "Bob" << "w1bob";
}

void TstStartupSequence::identity()
{
    QFETCH(QString, storedName);
    QFETCH(QString, storedCall);
    QFETCH(QString, answerName);
    QFETCH(QString, answerCall);
    QFETCH(bool, yes);
    if (!storedName.isEmpty()) {
        set(QStringLiteral("User Name"), storedName);
        set(QStringLiteral("User Call"), storedCall);
    }
    const OperatorIdentity stored = StoredOperator(*store_);
    const Startup::IdentityOutcome out =
        Startup::SettleStartupIdentity(*store_, stored, OperatorIdentity{answerName, answerCall, yes});
    QTEST(out.lblName, "lblName");
    QCOMPARE(out.netControl, yes);
    QTEST(out.control.name, "controlName");
    QTEST(out.control.call, "controlCall");
    QTEST(get(QStringLiteral("User Name")), "nameAfter");
    QTEST(get(QStringLiteral("User Call")), "callAfter");
}

void TstStartupSequence::emptyFirstRunAnswersAskAgainNextTime()
{
    const Startup::IdentityOutcome out =
        Startup::SettleStartupIdentity(*store_, StoredOperator(*store_), OperatorIdentity{{}, {}, true});
    QVERIFY(out.lblName.isEmpty());
    QVERIFY(StoredOperator(*store_).name.isEmpty());
}

void TstStartupSequence::qrzOffer_data()
{
    QTest::addColumn<QString>("noShow");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("offered");
    QTest::newRow("fresh store") << "" << "" << true;
    QTest::newRow("unticked, no password") << "0" << "" << true;
    QTest::newRow("ticked, no password") << "1" << "" << false;
    QTest::newRow("password stored") << "" << "password=x" << false;
    QTest::newRow("ticked and password") << "1" << "password=x" << false;
    QTest::newRow("odd tick value") << "True" << "" << true;
}

void TstStartupSequence::qrzOffer()
{
    QFETCH(QString, noShow);
    QFETCH(QString, password);
    if (!noShow.isEmpty())
        set(QStringLiteral("chkNoShow"), noShow);
    if (!password.isEmpty())
        set(QStringLiteral("QRZ PW"), password);
    QTEST(Startup::ShouldOfferQrzLogin(*store_), "offered");
}

void TstStartupSequence::earlierManagerFlagRemoved_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("removed");
    QTest::newRow("set") << "1" << true;
    QTest::newRow("text") << "True" << true;
    QTest::newRow("absent") << "" << false;
}

void TstStartupSequence::earlierManagerFlagRemoved()
{
    QFETCH(QString, value);
    if (!value.isEmpty())
        set(QStringLiteral("NMFlag"), value);
    set(QStringLiteral("NetMgr"), QStringLiteral("KEEP ME"));
    QTEST(Startup::RemoveEarlierManagerFlag(*store_), "removed");
    QVERIFY(get(QStringLiteral("NMFlag")).isEmpty());
    QCOMPARE(get(QStringLiteral("NetMgr")), QStringLiteral("KEEP ME"));
    SettingsStore reread(home_->settingsFile());
    QVERIFY(reread.GetSetting(QStringLiteral("Settings"), QStringLiteral("NMFlag"), QStringLiteral("<none>"))
            == QStringLiteral("<none>"));
}

void TstStartupSequence::tenSayingsOfTheRequiredForm()
{
    QCOMPARE(Startup::Sayings().size(), 10);
    QSet<QString> seen;
    for (int n = 1; n <= 10; ++n) {
        const QString s = Startup::Saying(n);
        QVERIFY2(s.startsWith(QStringLiteral("God is like ")), qPrintable(s));
        const qsizetype dash = s.indexOf(QStringLiteral(" - "));
        QVERIFY2(dash > 12, qPrintable(s));
        QVERIFY2(s.indexOf(QStringLiteral(" - "), dash + 1) < 0, qPrintable(s));
        QVERIFY2(!s.mid(dash + 3).trimmed().isEmpty(), qPrintable(s));
        QVERIFY2(!s.contains(QLatin1Char('\n')), qPrintable(s));
        seen.insert(s);
    }
    QCOMPARE(seen.size(), 10);
    QVERIFY(Startup::Saying(0).isEmpty());
    QVERIFY(Startup::Saying(11).isEmpty());
}

void TstStartupSequence::sayingNumber_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("n");
    QTest::newRow("zero") << 0.0 << 1;
    QTest::newRow("just below 0.1") << 0.0999 << 1;
    QTest::newRow("0.1") << 0.1 << 2;
    QTest::newRow("0.55") << 0.55 << 6;
    QTest::newRow("0.9") << 0.9 << 10;
    QTest::newRow("just below 1") << 0.9999999 << 10;
    QTest::newRow("1 held") << 1.0 << 10;
    QTest::newRow("negative held") << -0.5 << 1;
}

void TstStartupSequence::sayingNumber()
{
    QFETCH(double, r);
    QTEST(Startup::SayingNumberFor(r), "n");
}

void TstStartupSequence::everySayingCanBeDrawn()
{
    QSet<int> drawn;
    for (int i = 0; i < 100; ++i)
        drawn.insert(Startup::SayingNumberFor(i / 100.0));
    QCOMPARE(drawn.size(), 10);
    QVERIFY(drawn.contains(1) && drawn.contains(10));
}

void TstStartupSequence::sayingFontSize_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("size");  // 0: the design size
    QTest::newRow("1024x768") << 1024 << 768 << 18;
    QTest::newRow("768x1024") << 768 << 1024 << 0;
    QTest::newRow("1024x600") << 1024 << 600 << 0;
    QTest::newRow("1280x1024") << 1280 << 1024 << 0;
    QTest::newRow("unknown") << 0 << 0 << 0;
}

void TstStartupSequence::sayingFontSize()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QTEST(Startup::SayingPointSize(w, h).value_or(0), "size");
}

void TstStartupSequence::greeting_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("due");
    QTest::newRow("18 Dec") << QDate(2026, 12, 18) << false;
    QTest::newRow("19 Dec") << QDate(2026, 12, 19) << true;
    QTest::newRow("25 Dec") << QDate(2026, 12, 25) << true;
    QTest::newRow("26 Dec") << QDate(2026, 12, 26) << false;
    QTest::newRow("19 Nov") << QDate(2026, 11, 19) << false;
    QTest::newRow("invalid") << QDate() << false;
}

void TstStartupSequence::greeting()
{
    QFETCH(QDate, date);
    QTEST(Startup::GreetingDue(date), "due");
}

void TstStartupSequence::greetingSoundInDocumentsFolder()
{
    Paths p;
    p.documentsFolder = QStringLiteral("/home/op/.local/share/Pellam Software/");
    QCOMPARE(Startup::GreetingSoundFile(p), QStringLiteral("/home/op/.local/share/Pellam Software/merryxmas.wav"));
    p.documentsFolder.clear();
    QCOMPARE(Startup::GreetingSoundFile(p), QStringLiteral("merryxmas.wav"));
}

VELN_TEST(TstStartupSequence)
#include "tst_startup_sequence.moc"
