// Feeds arbitrary texts to the settings value readers and to the settings
// file. Besides memory errors and undefined behaviour it stops when a value
// read does not write back as a text that reads to the same value, and when a
// section, key and value stored in the file do not read back as they went in.

#include "core/settings_store.h"
#include "settings_fuzz_folder.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
[[noreturn]] void fail(const char* what, const QString& text)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, qPrintable(text.left(100)));
    std::abort();
}
std::unique_ptr<QTemporaryDir> folder;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    folder = StartSettingsFuzz(argc, argv);
    return folder ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& text : {QString::fromUtf8(input), QString::fromLatin1(input)}) {
        if (const auto b = SettingValue::toBool(text))
            if (SettingValue::toBool(SettingValue::fromBool(*b)) != b)
                fail("bool round trip", text);
        if (const auto i = SettingValue::toInt(text))
            if (SettingValue::toInt(QString::number(*i)) != i)
                fail("int round trip", text);
        if (const auto c = SettingValue::toColour(text)) {
            if (*c > 0xFFFFFFu)
                fail("colour beyond 24 bits", text);
            if (SettingValue::toColour(SettingValue::fromColour(*c)) != c)
                fail("colour round trip", text);
        }
        if (const auto s = SettingValue::toSize(text)) {
            if (!std::isfinite(*s))
                fail("size not finite", text);
            const auto back = SettingValue::toSize(SettingValue::fromSize(*s));
            if (!back || (*back != *s && !(std::isnan(*back) && std::isnan(*s))))
                fail("size round trip", text);
        }
    }

    // Section, key and value: the first two lines and the rest.
    const QList<QByteArray> parts = input.split('\n');
    if (parts.size() >= 3 && !parts.at(1).isEmpty()) {
        const QString section = QString::fromUtf8(parts.at(0));
        const QString key = QString::fromUtf8(parts.at(1));
        const QString value = QString::fromUtf8(input.mid(parts.at(0).size() + parts.at(1).size() + 2));
        const QString path = folder->filePath(QStringLiteral("VELN.ini"));
        QFile::remove(path);
        {
            SettingsStore store(path);
            store.SaveSetting(QStringLiteral("Report"), QStringLiteral("Checkins"), QStringLiteral("12"));
            store.SaveSetting(section, key, value);
            if (!store.lastWriteOk())
                fail("the store could not write", store.lastError());
        }
        const SettingsStore back(path);
        if (back.GetSetting(section, key) != value)
            fail("value changed in the file", value);
        const bool sameEntry = section.compare(QStringLiteral("Report"), Qt::CaseInsensitive) == 0
            && key.compare(QStringLiteral("Checkins"), Qt::CaseInsensitive) == 0;
        if (!sameEntry && back.GetSetting(QStringLiteral("Report"), QStringLiteral("Checkins")) != QStringLiteral("12"))
            fail("another value changed in the file", section);
    }
    return 0;
}
