#include "session_file.h"

#include "core/safe_write.h"
#include "core/text_number.h"

#include <QFile>
#include <QFileInfo>

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
    // A member record may hold control bytes (a BEL in a name): each goes as
    // a blank, so what Save writes, Open reads.
    auto line = [&out](const QString& text) {
        QByteArray bytes = text.toLatin1();
        for (char& c : bytes)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        out += bytes + "\r\n";
    };
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
    SafeWriter file(path);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        if (error)
            *error = QStringLiteral("The %1 could not be saved to %2: %3").arg(what, path, file.reason());
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

// The line (1-based) of the first control byte, 0 when there is none.
qsizetype lineOfControlByte(const QByteArray& bytes)
{
    qsizetype line = 1;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n')
            ++line;
        else if (c < 0x20 && c != '\r' && c != '\t')
            return line;
    }
    return 0;
}

// No session file holds longer lines: the counters and the date are a few
// characters, a roster line a call, a name and a QTH. Longer ones are cut, so
// a damaged file of one huge line is read at once and shows nothing huge.
constexpr qsizetype kShortLineMax = 20;
constexpr qsizetype kRosterLineMax = 80;

class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) : bytes_(bytes) {}
    bool atEnd() const { return at_ >= bytes_.size(); }
    // The next line without its line end and leading blanks, cut to max characters.
    QString next(qsizetype max)
    {
        qsizetype end = bytes_.indexOf('\n', at_);
        if (end < 0)
            end = bytes_.size();
        qsizetype from = at_;
        while (from < end && bytes_.at(from) == ' ')
            ++from;
        qsizetype stop = end;
        if (stop > from && bytes_.at(stop - 1) == '\r')
            --stop;
        at_ = end + 1;
        return QString::fromLatin1(bytes_.constData() + from, std::min(stop - from, max));
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

}  // namespace

ReadResult Parse(const QByteArray& bytes)
{
    ReadResult r;
    if (const qsizetype bad = lineOfControlByte(bytes)) {
        r.error = QStringLiteral("This is not a session file: it holds control characters (line %1).").arg(bad);
        return r;
    }
    LineReader reader(bytes);
    QString head[3];
    for (int i = 0; i < 3; ++i) {
        if (reader.atEnd()) {
            r.error = QStringLiteral("This is not a session file: it needs the check-ins, the traffic and the date "
                                     "on its first three lines, and holds %1.")
                          .arg(i == 1 ? QStringLiteral("one line") : QStringLiteral("%1 lines").arg(i));
            return r;
        }
        head[i] = reader.next(kShortLineMax).trimmed();
    }
    for (int i = 0; i < 2; ++i)
        if (!isCounter(head[i])) {
            r.error = QStringLiteral("This is not a session file: line %1 should be a number from 0 to %2.")
                          .arg(i + 1)
                          .arg(kCounterMax);
            return r;
        }
    Contents& c = r.contents;
    c.checkins = head[0];
    c.traffic = head[1];
    c.date = head[2];
    c.promised = promisedLines(c.checkins);
    // Every line the file holds, whatever line 1 counted; one leading blank,
    // as the roster shows it, however many were stored.
    while (!reader.atEnd()) {
        const QString line = reader.next(kRosterLineMax);
        if (line.trimmed().isEmpty())
            continue;
        if (c.lines.size() == kMaxRosterLines) {
            r.error = QStringLiteral("This is not a session file: it holds more than %1 stations, more than any net.")
                          .arg(kMaxRosterLines);
            r.contents = {};
            return r;
        }
        c.lines.append(QLatin1Char(' ') + line);
    }
    r.ok = true;
    return r;
}

ReadResult Read(const QString& path)
{
    QFile file(path);
    ReadResult r;
    // Sized before it is read: a huge file costs neither time nor memory.
    if (file.size() > kMaxFileBytes) {
        r.error = QStringLiteral("This is not a session file: it holds %1 bytes, and no net's session takes more "
                                 "than %2.")
                      .arg(file.size())
                      .arg(kMaxFileBytes);
        return r;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("The session file %1 could not be read: %2").arg(path, file.errorString());
        return r;
    }
    return Parse(file.read(kMaxFileBytes + 1));
}

StationRecord StationOfLine(const QString& rosterLine)
{
    // The line's one leading blank is the roster's, not the call's.
    const QString text = rosterLine.startsWith(QLatin1Char(' ')) ? rosterLine.mid(1) : rosterLine;
    StationRecord s;
    const qsizetype first = text.indexOf(QLatin1Char(' '));
    if (first < 0) {
        s.call = text;
        s.words = 1;
        return s;
    }
    s.call = text.left(first);
    const qsizetype second = text.indexOf(QLatin1Char(' '), first + 1);
    if (second < 0) {
        s.name = text.mid(first + 1);
        s.words = 2;
        return s;
    }
    s.name = text.mid(first + 1, second - first - 1);
    s.qth = text.mid(second + 1);
    return s;
}

}  // namespace SessionFile
