#include "core/member_table.h"
#include "core/safe_write.h"
#include "core/settings_store.h"
#include "full_disk.h"
#include "member_files.h"
#include "test_main.h"

#include <QFileInfo>
#include <QTest>

// Every core writer on a disk without room: the old file stays byte for
// byte and the error names the file.
class TstFullDisk : public QObject {
    Q_OBJECT
private slots:
    void oldFileStays_data();
    void oldFileStays();
};

void TstFullDisk::oldFileStays_data()
{
    QTest::addColumn<QString>("writer");
    QTest::newRow("whole file") << "whole file";
    QTest::newRow("member file") << "member file";
    QTest::newRow("settings") << "settings";
}

void TstFullDisk::oldFileStays()
{
    QFETCH(QString, writer);
    FullDisk disk;
    REQUIRE_FULL_DISK(disk);
    const QString path = disk.folder() + "/target";
    // Under the size QSaveFile buffers, so only a checked flush sees the failure.
    const QByteArray big(4000, 'n');
    std::function<QString()> work;
    qint64 limit = FullDisk::kSizeLimit;
    if (writer == "whole file") {
        writeBytes(path, "a session of 42 bytes, written long before");
        work = [&] {
            QString error;
            return SafeWrite(path, big, &error) ? QString() : error;
        };
    } else if (writer == "member file") {
        // The moved end record makes the file one record longer than the
        // file-size limit lets it grow.
        writeMemberFile(path, manyMembers(88));
        limit = QFileInfo(path).size();
        work = [&] {
            MemberTable t;
            if (!t.LoadMemberTable(path))
                return t.lastError();
            return t.AddMember({"N1NEW", "NEW", "ME"}) == MemberTable::Result::Ok ? QString() : t.lastError();
        };
    } else {
        {
            SettingsStore s(path);
            s.SaveSetting("Settings", "User Name", "PAT");
            s.SaveSetting("Options", "Disable Ding", "True");
        }
        work = [&] {
            SettingsStore s(path);
            s.SaveSetting("Settings", "User Name", QString(big));
            return s.lastWriteOk() ? QString() : s.lastError();
        };
    }
    const QByteArray old = readBytes(path);
    QVERIFY(!old.isEmpty());
    disk.fill();
    const QString error = disk.attempt(work, limit);
    QVERIFY2(error.contains(path), qPrintable("error: " + error));
    QVERIFY2(!error.contains("Unknown error"), qPrintable(error));
    QCOMPARE(readBytes(path), old);
}

VELN_TEST(TstFullDisk)
#include "tst_full_disk.moc"
