#include "session_file.h"

#include "core/safe_write.h"
#include "core/text_number.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace SessionFile {

QString DefaultFileName(const QDate& date) { return date.toString(QStringLiteral("yyMMdd")); }

QString DateText(const QDate& date) { return date.toString(QStringLiteral("M/d/yyyy")); }

namespace {

int promisedLines(const QString& checkinsCaption)
{
    const double n = LeadingNumber(checkinsCaption);
    return n <= 0 ? 0 : int(std::min(std::floor(n), double(kCounterMax)));
}

}  // namespace

QByteArray Compose(const QString& checkinsCaption, const QString& trafficCaption, const QString& dateText,
                   const QStringList& rosterLines)
{
    QByteArray out;
    auto line = [&out](const QString& text) { out += text.toLatin1() + "\r\n"; };
    line(checkinsCaption);
    line(trafficCaption);
    line(dateText);
    const int n = std::min(promisedLines(checkinsCaption), int(rosterLines.size()));
    for (int i = 0; i < n; ++i)
        if (!rosterLines.at(i).endsWith(QLatin1Char('-')))
            line(rosterLines.at(i));
    return out;
}

bool Write(const QString& path, const QByteArray& bytes, QString* error)
{
    SafeWriter file(path);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        if (error)
            *error = QStringLiteral("The session could not be saved to %1: %2").arg(path, file.reason());
        return false;
    }
    return true;
}

ReadResult Parse(const QByteArray& bytes)
{
    ReadResult r;
    QList<QByteArray> raw = bytes.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();  // the final line end
    QStringList lines;
    for (QByteArray l : raw) {
        if (l.endsWith('\r'))
            l.chop(1);
        lines.append(QString::fromLatin1(l));
    }
    if (lines.size() < 3) {
        r.error = QStringLiteral("Input past end of file: the session file lacks its counters and date.");
        return r;
    }
    Contents& c = r.contents;
    c.checkins = lines.at(0).trimmed();
    c.traffic = lines.at(1).trimmed();
    c.date = lines.at(2).trimmed();
    c.promised = promisedLines(c.checkins);
    for (int i = 0; i < c.promised && 3 + i < lines.size(); ++i) {
        QString l = lines.at(3 + i);
        // One leading blank, as the roster shows it, however many were stored.
        while (l.startsWith(QLatin1Char(' ')))
            l.remove(0, 1);
        c.lines.append(QLatin1Char(' ') + l);
    }
    if (c.lines.size() < c.promised)
        c.shortfall = QStringLiteral("Input past end of file: the session file promises %1 stations but holds %2.")
                          .arg(c.promised)
                          .arg(c.lines.size());
    r.ok = true;
    return r;
}

ReadResult Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult r;
        r.error = QStringLiteral("The session file %1 could not be read: %2").arg(path, file.errorString());
        return r;
    }
    return Parse(file.readAll());
}

QString CallOfLine(const QString& rosterLine)
{
    const QString t = rosterLine.trimmed();
    return t.section(QLatin1Char(' '), 0, 0);
}

QString NameOfLine(const QString& rosterLine)
{
    const QString t = rosterLine.trimmed();
    return t.section(QLatin1Char(' '), 1, 1);
}

}  // namespace SessionFile
