// Feeds arbitrary bytes as the settings file to the monthly report's readers:
// the counters and the new-member slots. Besides memory errors and undefined
// behaviour it stops on a counter outside 16 bits or a guarded list that is
// not the start of the whole list.

#include "core/settings_store.h"
#include "settings_fuzz_folder.h"
#include "report/report_store.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> folder;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    folder = StartSettingsFuzz(argc, argv);
    return folder ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Each counter text alone, as the report editor reads what was typed.
    for (const QByteArray& line : input.split('\n')) {
        const QString text = QString::fromUtf8(line);
        const double rounded = RoundedLeadingNumber(text);
        const qint16 counter = ParseCounter(text);
        if (FitsCounter(rounded) && double(counter) != rounded)
            fail("a counter that fits was changed");
    }

    const QString path = folder->filePath(QStringLiteral("VELN.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(input) != input.size())
            fail("cannot write the settings file");
    }
    SettingsStore store(path);
    const NetReport report = LoadReportCounters(store);
    (void)report;
    const QStringList all = ReadNewMemberList(store, false);
    const QStringList guarded = ReadNewMemberList(store, true);
    if (all.size() > ReportKeys::kShownSlots)
        fail("more new members than slots");
    if (!guarded.isEmpty() && guarded != all)
        fail("the guarded list differs from the whole one");
    for (const QString& entry : all)
        if (entry.isEmpty())
            fail("an empty entry listed");
    return 0;
}
