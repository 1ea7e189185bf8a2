#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class LinePrinter;
class MemberTable;

// One line of a printout: a text from a column on, or an empty line.
struct PrintLine {
    bool empty = true;
    int column = 1;
    QString text;

    static PrintLine Empty() { return {}; }
    static PrintLine At(int column, const QString& text) { return {false, column, text}; }
    bool operator==(const PrintLine&) const = default;
};
using Printout = QList<PrintLine>;

// The printouts of the session and of the member database, composed as
// lines, and the members listed by the database display window.
namespace Printouts {

// Every printed text line starts here (in character widths; 1 is the margin).
constexpr int kPrintColumn = 30;

inline const QString kSortQuestion = QStringLiteral("PRINT SORTED?");
inline const QString kSortTitle = QStringLiteral("Print Database");

// The date in the session header: the one read from the session file opened
// last, else today's in the system's short date format.
QString SessionDate(const QString& openedSessionDate, const QDate& today);

QString SessionHeader(const QString& date, const QString& checkinsCaption, const QString& trafficCaption);

// Three empty lines, the header, an empty line, then each roster line
// numbered from 1; a numbered line whose 8th character is "-" is left out.
Printout Session(const QString& date, const QString& checkinsCaption, const QString& trafficCaption,
                 const QStringList& rosterLines);

// A member in the sorted listings: its slot and "call name QTH".
struct SortedMember {
    int slot = 0;
    QString item;
    bool operator==(const SortedMember&) const = default;
};
// Every member once, ordered by "call name QTH" as a sorted list box orders
// it (case folded first); members whose texts are equal keep slot order.
QList<SortedMember> SortedMembers(const MemberTable& table);

// The whole database printout after the sort question was answered; starts
// with the empty lines sent before the listing.
Printout DatabaseSlotOrder(const MemberTable& table);
Printout DatabaseSorted(const MemberTable& table);

// Sends the lines and ends the document. False at the first line (or end)
// the printer refused; nothing after it is sent.
bool Print(LinePrinter& printer, const Printout& printout);

}  // namespace Printouts

// The lines of the database display window.
namespace DatabaseDisplay {

inline const QString kQuestion = QStringLiteral("Do you want to Sort the Database?");
inline const QString kTitle = QStringLiteral("Display Database");

// A slot number as plain number text: a blank for the sign, then the digits.
QString SlotText(int slot);

// Slot order: five blanks, the slot, call, name, QTH.
QStringList SlotOrderLines(const MemberTable& table);
// The sorting stage's items: five blanks, call, name, QTH, in sorted order.
QStringList SortingItems(const MemberTable& table);
// Sorted by call: a blank, the slot, a blank, call, name, QTH.
QStringList SortedLines(const MemberTable& table);

}  // namespace DatabaseDisplay
