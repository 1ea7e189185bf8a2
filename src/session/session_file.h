#pragma once

#include "checkin_roster.h"

#include <QDate>
#include <QString>
#include <QStringList>

// A session as a text file: the check-ins counter, the traffic counter, the
// date of saving, then the roster lines; CR LF line ends, Latin-1.
namespace SessionFile {

inline const QString kFilter = QStringLiteral("Text files (*.txt)|*.txt");
// Open also lists files saved without an extension.
inline const QString kOpenFilter = kFilter + QStringLiteral("|All files (*)|*");

// The chosen name with ".txt" when it has no extension.
QString WithExtension(const QString& path);

// YYMMDD of the date.
QString DefaultFileName(const QDate& date);
// The date as line 3 holds it: month/day/year.
QString DateText(const QDate& date);

// The file's bytes: the first n roster lines (n the numeric value of the
// check-ins caption), leaving out lines whose last character is "-".
QByteArray Compose(const QString& checkinsCaption, const QString& trafficCaption, const QString& dateText,
                   const QStringList& rosterLines);

// Writes through a temporary file, so a failed save never leaves half a file.
// The error names what was saved ("session", "export"), the file and why.
bool Write(const QString& path, const QByteArray& bytes, QString* error, const QString& what = QStringLiteral("session"));

struct Contents {
    QString checkins;   // line 1
    QString traffic;    // line 2
    QString date;       // line 3
    QStringList lines;  // roster lines, each with its one leading blank
    int promised = 0;   // roster lines line 1 announced; the lines held count
};

struct ReadResult {
    bool ok = false;
    QString error;  // why the file is no session: nothing of it is to be used
    Contents contents;
};

// No net is larger: a few thousand stations of at most 80 characters each.
constexpr qint64 kMaxFileBytes = 2 * 1024 * 1024;
constexpr int kMaxRosterLines = 10000;

// Refuses unread a file beyond kMaxFileBytes, and one of more than
// kMaxRosterLines roster lines. Reads and checks the whole file first: three lines at least, counters of 0
// to 32767, no control bytes; a comma inside a line is kept. Every roster
// line the file holds is taken, whatever line 1 announced.
ReadResult Read(const QString& path);
ReadResult Parse(const QByteArray& bytes);

// The station of a roster line as a session file holds it: the call up to
// the first blank, the name up to the next, the QTH the rest. The one place
// a line becomes a record; RosterLine() gives the same line back. No member
// slot or times: the file holds none.
StationRecord StationOfLine(const QString& rosterLine);

}  // namespace SessionFile
