#include "core/latin1_text.h"
#include "test_main.h"

#include <QTest>

class TstLatin1Text : public QObject {
    Q_OBJECT
private slots:
    void nearest_data();
    void nearest();
};

void TstLatin1Text::nearest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    auto row = [](const char* name, const char* text, const char* stored) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(stored);
    };
    row("Latin-1 kept", "JOSÉ MÜLLER ØSTERBRO ß", "JOSÉ MÜLLER ØSTERBRO ß");
    row("Polish", "ŁUKASZ ŻÓŁKIEWSKI", "LUKASZ ZÓLKIEWSKI");
    row("Serbian and Croatian", "ĐORĐE ČOLIĆ", "DORDE COLIC");
    row("ligature", "Œuvre cœur", "OEuvre coeur");
    row("mark Latin-1 has kept", "Ǘ ǘ Ḗ", "Ü ü E");
    row("Turkish and Czech", "İSTANBUL ışık ŘEHOŘ", "ISTANBUL isik REHOR");
    row("Maltese and Sami", "ĦAMRUN ŊÅLÅ", "HAMRUN NÅLÅ");
    row("quotes and dashes", "O’BRIEN – “DOC”", "O'BRIEN - \"DOC\"");
    row("ligature fi", "ﬁeld", "field");
    row("no near form", "東京 Ωmega", "?? ?mega");
    row("outside the plane", "A\xF0\x9F\x93\xBB" "B", "A?B");
}

void TstLatin1Text::nearest()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    const QString near = NearestLatin1(text);
    QCOMPARE(near, stored);
    QCOMPARE(QString::fromLatin1(near.toLatin1()), near);
}

VELN_TEST(TstLatin1Text)
#include "tst_latin1_text.moc"
