#include "core/settings_store.h"
#include "report/report_editor_model.h"
#include "report_fixtures.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

using namespace ReportKeys;

namespace {

// Runs a script of user actions separated by ";": "select N", "type TEXT",
// "sessions TEXT", "add", "edit", "move", "delete", "save", "exit". No blank
// before a ";".
void run(ReportEditorModel& m, const QString& script)
{
    for (const QString& raw : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        qsizetype start = 0;
        while (start < raw.size() && raw.at(start) == QLatin1Char(' '))
            ++start;
        const QString step = raw.mid(start);  // blanks after the verb's blank are typed text
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString arg = step.mid(verb.size() + 1);
        if (verb == QLatin1String("select"))
            m.selectLine(arg.toInt());
        else if (verb == QLatin1String("type"))
            m.setAddText(arg);
        else if (verb == QLatin1String("sessions"))
            m.setSessionsText(arg);
        else if (verb == QLatin1String("add"))
            m.add();
        else if (verb == QLatin1String("edit"))
            m.edit();
        else if (verb == QLatin1String("move"))
            m.move();
        else if (verb == QLatin1String("delete"))
            m.deleteLine();
        else if (verb == QLatin1String("save"))
            m.save();
        else if (verb == QLatin1String("exit"))
            m.exit();
        else
            qFatal("unknown step %s", qPrintable(step));
    }
}

// The controls that are on, in the order ADD, >, EDIT, DELETE, SAVE.
QString controls(const ReportEditorModel& m)
{
    QString s;
    s += m.addEnabled() ? QLatin1Char('A') : QLatin1Char('-');
    s += m.moveVisible() ? QLatin1Char('M') : QLatin1Char('-');
    s += m.editEnabled() ? QLatin1Char('E') : QLatin1Char('-');
    s += m.deleteEnabled() ? QLatin1Char('D') : QLatin1Char('-');
    s += m.saveEnabled() ? QLatin1Char('S') : QLatin1Char('-');
    return s;
}

}  // namespace

class TstReportEditor : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home_ = std::make_unique<TestHome>();
        store_ = std::make_unique<SettingsStore>(home_->settingsFile());
        report_ = {};
    }
    void cleanup()
    {
        store_.reset();
        home_.reset();
    }

    void loadFigures_data();
    void loadFigures();
    void showsSlotsOneToFourteenWithSlotZeroEmpty();
    void flows_data();
    void flows();
    void addedEntryStartsWithBlankAndDeleteMatchesIt();
    void deleteOfEditedUnsavedLineRemovesNothing();
    void deleteWritesAtOnce();
    void exitDiscards();
    void saveWritesEverything();
    void saveRefusedKeepsStoreAndButton();

private:
    ReportEditorModel loaded()
    {
        ReportEditorModel m(*store_, report_);
        m.load();
        return m;
    }
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> store_;
    NetReport report_;
};

void TstReportEditor::loadFigures_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("missing") << kMissing << "0";
    QTest::newRow("digits") << "12" << "12";
    QTest::newRow("letters after") << "12abc" << "12";
    QTest::newRow("leading blank") << " 7" << "7";
    QTest::newRow("word") << "many" << "0";
    QTest::newRow("negative") << "-3" << "-3";
    QTest::newRow("fraction kept") << "2.5" << "2.5";
}

void TstReportEditor::loadFigures()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    if (stored != kMissing) {
        store_->SaveSetting(kReport, kSessions, stored);
        store_->SaveSetting(kReport, kTraffic, stored);
    }
    const ReportEditorModel m = loaded();
    QCOMPARE(m.sessionsText(), shown);
    QCOMPARE(m.checkinsText(), QString("0"));
    QCOMPARE(m.trafficText(), shown);
    QCOMPARE(controls(m), QString("-----"));
    QCOMPARE(m.entryTitle(), QString("ADD NEW MEMBERS"));
}

void TstReportEditor::showsSlotsOneToFourteenWithSlotZeroEmpty()
{
    QStringList values{""};
    values += entriesNamed(15).mid(1);  // values 1..14
    values += "HIDDEN";                 // slot 15
    putSlots(*store_, values);
    QCOMPARE(loaded().lines(), entriesNamed(15).mid(1));
    QVERIFY(ReadNewMemberList(*store_, true).isEmpty());  // what the report window shows
}

void TstReportEditor::flows_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("controls");  // ADD, >, EDIT, DELETE, SAVE
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("addText");
    QTest::addColumn<QStringList>("lines");
    const QString adds = "ADD NEW MEMBERS";
    const QStringList ab{"A", "B"};
    QTest::newRow("loaded") << "" << "-----" << adds << "" << ab;
    QTest::newRow("figure typed") << "sessions 9" << "----S" << adds << "" << ab;
    QTest::newRow("same figure is no change") << "sessions 0" << "-----" << adds << "" << ab;
    QTest::newRow("line clicked") << "select 1" << "--EDS" << adds << "" << ab;
    QTest::newRow("click, nothing selected") << "select -1" << "--E-S" << adds << "" << ab;
    QTest::newRow("typing") << "type N0X" << "A---S" << adds << "N0X" << ab;
    QTest::newRow("ADD") << "type N0X; add" << "A---S" << adds << "" << QStringList{"A", "B", " N0X"};
    QTest::newRow("ADD twice") << "type N0X; add; type K1Y; add" << "A---S" << adds << ""
                               << QStringList{"A", "B", " N0X", " K1Y"};
    QTest::newRow("ADD of nothing adds nothing") << "type N0X; add; add" << "A---S" << adds << ""
                                                 << QStringList{"A", "B", " N0X"};
    QTest::newRow("ADD of blanks adds nothing") << "type   ; add" << "A---S" << adds << "  " << ab;
    QTest::newRow("ADD while off") << "add" << "-----" << adds << "" << ab;
    QTest::newRow("EDIT") << "select 1; edit" << "-MEDS" << "EDIT NEW MEMBER" << "B" << ab;
    QTest::newRow("EDIT, typing") << "select 1; edit; type B2" << "-MEDS" << "EDIT NEW MEMBER" << "B2" << ab;
    QTest::newRow(">") << "select 1; edit; type B2; move" << "---DS" << "ADD NEW MEMBER" << ""
                       << QStringList{"A", "B2"};
    QTest::newRow("> then typing adds again") << "select 1; edit; type B2; move; type C" << "A--DS"
                                              << "ADD NEW MEMBER" << "C" << QStringList{"A", "B2"};
    QTest::newRow("EDIT, other line, >") << "select 1; edit; type B2; select 0; move" << "---DS"
                                         << "ADD NEW MEMBER" << "" << QStringList{"B2", "B"};
    QTest::newRow("EDIT without selection") << "select -1; edit" << "--E-S" << adds << "" << ab;
    QTest::newRow("DELETE") << "select 0; delete" << "--ED-" << adds << "" << QStringList{"B"};
    QTest::newRow("DELETE, then typing") << "select 0; delete; sessions 3" << "--EDS" << adds << ""
                                         << QStringList{"B"};
    QTest::newRow("SAVE") << "type N0X; select 0; save" << "--E--" << adds << "N0X" << ab;
    QTest::newRow("EXIT") << "select 0; type N0X; exit" << "-----" << adds << "N0X" << ab;
}

void TstReportEditor::flows()
{
    QFETCH(QString, script);
    QFETCH(QString, controls);
    QFETCH(QString, title);
    QFETCH(QString, addText);
    QFETCH(QStringList, lines);
    putSlots(*store_, {"A", "B"});
    store_->SaveSetting(kReport, kSessions, "0");
    ReportEditorModel m = loaded();
    run(m, script);
    QCOMPARE(::controls(m), controls);
    QCOMPARE(m.entryTitle(), title);
    QCOMPARE(m.addText(), addText);
    QCOMPARE(m.lines(), lines);
    QCOMPARE(m.editMode(), title == QLatin1String("EDIT NEW MEMBER"));
}

void TstReportEditor::addedEntryStartsWithBlankAndDeleteMatchesIt()
{
    putSlots(*store_, {"W1AW HIRAM CT"});
    {
        ReportEditorModel m = loaded();
        run(m, "type N0NEW BOB TOWN; add; save");
        QCOMPARE(m.lines(), (QStringList{"W1AW HIRAM CT", " N0NEW BOB TOWN"}));
    }
    QCOMPARE(readSlots(*store_, 3), (QStringList{"W1AW HIRAM CT", " N0NEW BOB TOWN", kMissing}));
    ReportEditorModel m = loaded();
    QCOMPARE(m.lines().at(1), QString(" N0NEW BOB TOWN"));
    m.selectLine(1);
    QVERIFY(m.deleteLine());
    QCOMPARE(m.lines(), (QStringList{"W1AW HIRAM CT"}));
    QCOMPARE(readSlots(*store_, 2), (QStringList{"W1AW HIRAM CT", ""}));
}

void TstReportEditor::deleteOfEditedUnsavedLineRemovesNothing()
{
    putSlots(*store_, {"A", "B"});
    ReportEditorModel m = loaded();
    run(m, "select 1; edit; type B2; move; select 1");
    QVERIFY(!m.deleteLine());
    QCOMPARE(m.lines(), (QStringList{"A", "B2"}));
    QCOMPARE(readSlots(*store_, 3), (QStringList{"A", "B", kMissing}));
}

void TstReportEditor::deleteWritesAtOnce()
{
    putSlots(*store_, {"A", "B", "C"});
    ReportEditorModel m = loaded();
    run(m, "select 0; delete; exit");
    // Gone without a save; the rest moved down so the report still shows them.
    QCOMPARE(readSlots(*store_, 3), (QStringList{"B", "C", ""}));
    QCOMPARE(ReadNewMemberList(*store_, true), (QStringList{"B", "C"}));
}

void TstReportEditor::exitDiscards()
{
    store_->SaveSetting(kReport, kSessions, "4");
    putSlots(*store_, {"A", "B"});
    ReportEditorModel m = loaded();
    run(m, "sessions 40; type N0X; add; select 1; edit; type Z; move; exit");
    QCOMPARE(storedFigures(*store_), (QStringList{"4", kMissing, kMissing}));
    QCOMPARE(readSlots(*store_, 3), (QStringList{"A", "B", kMissing}));
    QCOMPARE(::controls(m), QString("-----"));
}

void TstReportEditor::saveWritesEverything()
{
    store_->SaveSetting(kReport, kSessions, "4");
    store_->SaveSetting(kReport, kCheckins, "50");
    putSlots(*store_, {"A", "B", "C"});
    report_ = {4, 50, 0};
    ReportEditorModel m = loaded();
    m.setCheckinsText("62");
    m.setTrafficText("5 msgs");
    run(m, "select 2; edit; type ; move; type N0X; add; save");
    QCOMPARE(m.lines(), (QStringList{"A", "B", "", " N0X"}));
    QCOMPARE(storedFigures(*store_), (QStringList{"4", "62", "5 msgs"}));
    QCOMPARE(readSlots(*store_, 4), (QStringList{"A", "B", " N0X", kMissing}));
    QCOMPARE(report_, (NetReport{4, 62, 5}));  // the exit's addition starts from these
}

void TstReportEditor::saveRefusedKeepsStoreAndButton()
{
    store_->SaveSetting(kReport, kCheckins, "50");
    ReportEditorModel m = loaded();
    m.setCheckinsText("40000");
    const ReportWriteOutcome out = m.save();
    QVERIFY(!out.stored);
    QVERIFY(!out.message.isEmpty());
    QVERIFY(m.saveEnabled());
    QCOMPARE(store_->GetSetting(kReport, kCheckins), QString("50"));
    m.setCheckinsText("400");
    QVERIFY(m.save().stored);
    QCOMPARE(store_->GetSetting(kReport, kCheckins), QString("400"));
}

VELN_TEST(TstReportEditor)
#include "tst_report_editor.moc"
