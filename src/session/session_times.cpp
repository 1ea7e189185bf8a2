#include "session_times.h"

#include "core/csv.h"
#include "core/text_number.h"

#include <QFile>
#include <QFileInfo>

namespace SessionTimes {

namespace {

const QString kTraffic = QStringLiteral("*TRAFFIC*");

QString isoText(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString(); }

// Empty text is no time; anything else must be a UTC moment ending in "Z".
bool readTime(const QString& text, QDateTime* at)
{
    if (text.isEmpty()) {
        *at = QDateTime();
        return true;
    }
    if (!text.endsWith(QLatin1Char('Z')))
        return false;
    *at = QDateTime::fromString(text, Qt::ISODate);
    return at->isValid();
}

}  // namespace

QString PathFor(const QString& sessionPath) { return sessionPath + QStringLiteral(".times"); }

QByteArray Compose(const QList<Entry>& entries, const QList<TrafficEvent>& traffic)
{
    QByteArray out;
    for (const Entry& e : entries)
        out += Csv::Record({e.call, isoText(e.in), isoText(e.out)});
    for (const TrafficEvent& t : traffic)
        out += Csv::Record({kTraffic, isoText(t.at), QString::number(t.count)});
    return out;
}

namespace {

// One line's record into contents; false when the line holds none.
bool take(const QByteArray& line, Contents& contents)
{
    const auto records = Csv::Parse(line);
    if (!records || records->size() != 1)
        return false;
    const QStringList& r = records->first();
    if (r.size() != 3)
        return false;
    if (r.at(0).trimmed() == kTraffic) {
        TrafficEvent t;
        bool number = false;
        t.count = r.at(2).toInt(&number);
        if (!readTime(r.at(1), &t.at) || !t.at.isValid() || !number || t.count < 0 || t.count > kCounterMax)
            return false;
        contents.traffic.append(t);
        return true;
    }
    Entry e;
    if (r.at(0).trimmed().isEmpty() || !readTime(r.at(1), &e.in) || !readTime(r.at(2), &e.out))
        return false;
    e.call = r.at(0).trimmed();
    contents.stations.append(e);
    return true;
}

}  // namespace

Contents Parse(const QByteArray& bytes)
{
    // Line by line (no field of ours holds a line end), so one damaged line
    // costs that line only.
    Contents contents;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.trimmed().isEmpty())
            continue;
        if (!take(line, contents))
            ++contents.damagedLines;
    }
    return contents;
}

ReadResult Read(const QString& sessionPath)
{
    ReadResult r;
    QFile file(PathFor(sessionPath));
    if (!file.exists())
        return r;
    r.found = true;
    if (file.size() > kMaxFileBytes) {
        r.damage = QStringLiteral("it holds %1 bytes, more than a net's times ever take (%2)")
                       .arg(file.size())
                       .arg(kMaxFileBytes);
        return r;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        r.damage = QStringLiteral("it cannot be read: ") + file.errorString();
        return r;
    }
    r.contents = Parse(file.read(kMaxFileBytes));
    if (r.contents.damagedLines > 0)
        r.damage = r.contents.damagedLines == 1
                     ? QStringLiteral("one line of it is damaged")
                     : QStringLiteral("%1 lines of it are damaged").arg(r.contents.damagedLines);
    return r;
}

QString KeepAside(const QString& timesPath, QString* error)
{
    QString aside = timesPath + QStringLiteral(".damaged");
    if (QFileInfo::exists(aside))
        aside = timesPath + QDateTime::currentDateTimeUtc().toString(QStringLiteral(".'damaged'-yyyyMMdd-HHmmss"));
    QFile file(timesPath);
    if (!file.rename(aside)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return aside;
}

}  // namespace SessionTimes
