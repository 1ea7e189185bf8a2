#include "member_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray memberFileBytes(const QList<MemberRecord>& records, bool withSentinel)
{
    QByteArray bytes;
    for (const MemberRecord& r : records)
        bytes += r.encode();
    if (withSentinel)
        bytes += MemberRecord{MemberTable::kSentinel, {}, {}}.encode();
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void writeMemberFile(const QString& path, const QList<MemberRecord>& records, bool withSentinel)
{
    writeBytes(path, memberFileBytes(records, withSentinel));
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<MemberRecord> manyMembers(int n)
{
    QList<MemberRecord> out;
    const char* prefixes[] = {"W", "K", "N", "AA", "KB", "WA"};
    for (int i = 0; i < n; ++i) {
        // Three-letter suffixes from the running number keep calls distinct.
        QString suffix;
        int v = i;
        for (int k = 0; k < 3; ++k) {
            suffix.prepend(QChar(u'A' + v % 26));
            v /= 26;
        }
        const QString call = QString::fromLatin1(prefixes[(i / 17576) % 6]) + QString::number(i % 10) + suffix;
        out.append({call.left(6), QStringLiteral("NAME%1").arg(i), QStringLiteral("TOWN %1, ST").arg(i)});
    }
    return out;
}

MemberTable loadMembers(const QString& path, const QList<MemberRecord>& records)
{
    writeMemberFile(path, records);
    MemberTable t;
    if (!t.LoadMemberTable(path))
        qFatal("cannot load the member file %s", qPrintable(path));
    return t;
}
