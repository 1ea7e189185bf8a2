#include "session_file.h"

#include "core/text_number.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace SessionFile {

QString WithExtension(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".txt") : path;
}

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

bool Write(const QString& path, const QByteArray& bytes, QString* error, const QString& what)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("The %1 could not be saved to %2: %3").arg(what, path, file.errorString());
        return false;
    }
    return true;
}

namespace {

// A counter as line 1 and 2 hold it: decimal digits, a blank before them
// allowed, 0 to 32767.
bool isCounter(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5)
        return false;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return t.toInt() <= kCounterMax;
}

bool hasControlBytes(const QByteArray& line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return true;
    return false;
}

}  // namespace

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
        if (hasControlBytes(l)) {
            r.error = QStringLiteral("This is not a session file: it holds control characters (line %1).")
                          .arg(lines.size() + 1);
            return r;
        }
        lines.append(QString::fromLatin1(l));
    }
    if (lines.size() < 3) {
        r.error = QStringLiteral("This is not a session file: it needs the check-ins, the traffic and the date "
                                 "on its first three lines, and holds %1.")
                      .arg(lines.size() == 1 ? QStringLiteral("one line") : QStringLiteral("%1 lines").arg(lines.size()));
        return r;
    }
    for (int i = 0; i < 2; ++i)
        if (!isCounter(lines.at(i))) {
            r.error = QStringLiteral("This is not a session file: line %1 should be a number from 0 to %2.")
                          .arg(i + 1)
                          .arg(kCounterMax);
            return r;
        }
    Contents& c = r.contents;
    c.checkins = lines.at(0).trimmed();
    c.traffic = lines.at(1).trimmed();
    c.date = lines.at(2).trimmed();
    c.promised = promisedLines(c.checkins);
    for (qsizetype i = 3; i < lines.size(); ++i) {
        QString l = lines.at(i);
        // One leading blank, as the roster shows it, however many were stored.
        while (l.startsWith(QLatin1Char(' ')))
            l.remove(0, 1);
        if (l.trimmed().isEmpty())
            continue;
        c.lines.append(QLatin1Char(' ') + l);
    }
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
