#include "core/call_sign.h"
#include "test_main.h"

#include <QTest>

class TstCallSign : public QObject {
    Q_OBJECT
private slots:
    void isValidCall_data();
    void isValidCall();
    void keyFilter_data();
    void keyFilter();
    void newCallKeysEnableCancel();
};

void TstCallSign::isValidCall_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("valid");
    // Plausible shapes.
    QTest::newRow("W9LLL") << "W9ABC" << true;
    QTest::newRow("N9L") << "N9A" << true;
    QTest::newRow("KL9LLL six with digit third") << "KB1XYZ" << true;
    QTest::newRow("AL9L") << "AB1C" << true;
    QTest::newRow("W9L9 repeated digit counted once") << "W9A9" << true;
    QTest::newRow("K0 district") << "K0ABC" << true;
    QTest::newRow("A prefix digit second") << "A1BC" << true;
    QTest::newRow("two equal digits second and third") << "K11A" << true;
    QTest::newRow("digit in suffix after third-place district") << "WA2B3" << false;  // 2 at 3 + 3 at 5
    // Refusals.
    QTest::newRow("K9LLLL six digit second") << "K9ABCD" << false;
    QTest::newRow("W9 digit last") << "W9" << false;
    QTest::newRow("KL9 digit last") << "KB9" << false;
    QTest::newRow("V prefix") << "VE3ABC" << false;
    QTest::newRow("G prefix") << "G4ABC" << false;
    QTest::newRow("no digit") << "WABC" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("W1L2L sum 6") << "W1A2B" << false;
    QTest::newRow("W12LL sum 5") << "W12AB" << false;
    QTest::newRow("lower-case first letter") << "w9ABC" << false;
    QTest::newRow("lower-case rest is fine") << "W9abc" << true;
    QTest::newRow("seven characters") << "KB1XYZA" << false;
    QTest::newRow("long") << "W9ABCDEFGH" << false;
    QTest::newRow("digit first") << "9WABC" << false;
    QTest::newRow("digit fourth only") << "KBC1A" << false;
    QTest::newRow("blank inside counts as a character") << "W9 A" << true;
    QTest::newRow("leading blank shifts the digit") << " W9A" << false;
    QTest::newRow("ending digit of two") << "W9A1" << false;
    QTest::newRow("single letter") << "W" << false;
}

void TstCallSign::isValidCall()
{
    QFETCH(QString, call);
    QFETCH(bool, valid);
    QCOMPARE(IsValidCall(call), valid);
}

void TstCallSign::keyFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("disableDing");
    QTest::addColumn<bool>("passes");
    const int call = int(FieldKind::MemberCall), fresh = int(FieldKind::NewCall), name = int(FieldKind::MemberName),
              qth = int(FieldKind::MemberQth), chk = int(FieldKind::CheckIn);
    const QChar bs(8), enter(13);
    QTest::newRow("call letter") << call << QChar('w') << false << true;
    QTest::newRow("call digit") << call << QChar('9') << false << true;
    QTest::newRow("call blank") << call << QChar(' ') << false << true;
    QTest::newRow("call slash") << call << QChar('/') << false << false;
    QTest::newRow("call backspace") << call << bs << false << true;
    QTest::newRow("new call digit") << fresh << QChar('1') << false << true;
    QTest::newRow("new call dash") << fresh << QChar('-') << false << false;
    QTest::newRow("name letter") << name << QChar('B') << false << true;
    QTest::newRow("name digit") << name << QChar('3') << false << false;
    QTest::newRow("name apostrophe") << name << QChar('\'') << false << false;
    QTest::newRow("name backspace") << name << bs << false << true;
    QTest::newRow("qth comma") << qth << QChar(',') << false << false;
    QTest::newRow("qth period") << qth << QChar('.') << false << false;
    QTest::newRow("qth blank") << qth << QChar(' ') << false << true;
    QTest::newRow("qth accented letter") << qth << QChar(0xE9) << false << false;
    QTest::newRow("check-in anything") << chk << QChar('#') << false << true;
    QTest::newRow("check-in enter") << chk << enter << false << true;
    QTest::newRow("check-in enter without ding") << chk << enter << true << false;
    QTest::newRow("check-in letter without ding") << chk << QChar('a') << true << true;
}

void TstCallSign::keyFilter()
{
    QFETCH(int, kind);
    QFETCH(QChar, key);
    QFETCH(bool, disableDing);
    QFETCH(bool, passes);
    const auto out = FilterKey(FieldKind(kind), key, disableDing);
    QCOMPARE(out.has_value(), passes);
    if (passes)
        QCOMPARE(*out, key);
}

void TstCallSign::newCallKeysEnableCancel()
{
    QVERIFY(KeyEnablesCancel(FieldKind::NewCall, QChar('A')));
    QVERIFY(KeyEnablesCancel(FieldKind::NewCall, QChar(',')));  // even a dropped key
    QVERIFY(!KeyEnablesCancel(FieldKind::NewCall, QChar(8)));
    QVERIFY(!KeyEnablesCancel(FieldKind::MemberCall, QChar('A')));
}

VELN_TEST(TstCallSign)
#include "tst_call_sign.moc"
