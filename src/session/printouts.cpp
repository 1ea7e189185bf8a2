#include "printouts.h"

#include "core/member_table.h"
#include "platform/line_printer.h"

#include <QLocale>
#include <algorithm>

namespace {

// Slots 1 .. EndSlot - 1 that hold a member; never past the table.
template <typename F>
void forEachMember(const MemberTable& table, F&& f)
{
    const int end = std::min(table.EndSlot(), MemberTable::kSlots + 1);
    for (int slot = 1; slot < end; ++slot) {
        const MemberRecord& r = table.at(slot);
        if (r.call == MemberTable::kSentinel)
            break;
        if (!r.call.isEmpty())
            f(slot, r);
    }
}

QString memberText(const MemberRecord& r)
{
    return r.call + QLatin1Char(' ') + r.name + QLatin1Char(' ') + r.qth;
}

const QString kFiveBlanks = QStringLiteral("     ");

}  // namespace

namespace Printouts {

QString SessionDate(const QString& openedSessionDate, const QDate& today)
{
    if (!openedSessionDate.isEmpty())
        return openedSessionDate;
    return QLocale::system().toString(today, QLocale::ShortFormat);
}

QString SessionHeader(const QString& date, const QString& checkinsCaption, const QString& trafficCaption)
{
    return QStringLiteral("TARVEN SECTION NET SESSION    ") + date + QStringLiteral("  Checkins: ") + checkinsCaption
           + QStringLiteral(" Traffic: ") + trafficCaption;
}

Printout Session(const QString& date, const QString& checkinsCaption, const QString& trafficCaption,
                 const QStringList& rosterLines)
{
    Printout out(3, PrintLine::Empty());
    out.append(PrintLine::At(kPrintColumn, SessionHeader(date, checkinsCaption, trafficCaption)));
    out.append(PrintLine::Empty());
    for (int i = 1; i <= rosterLines.size(); ++i) {
        const QString numbered = QString::number(i) + QLatin1Char(' ') + rosterLines.at(i - 1);
        if (numbered.size() >= 8 && numbered.at(7) == QLatin1Char('-'))
            continue;
        out.append(PrintLine::At(kPrintColumn, numbered));
    }
    return out;
}

QList<SortedMember> SortedMembers(const MemberTable& table)
{
    QList<SortedMember> members;
    forEachMember(table, [&](int slot, const MemberRecord& r) { members.append({slot, memberText(r)}); });
    std::stable_sort(members.begin(), members.end(), [](const SortedMember& a, const SortedMember& b) {
        const int folded = QString::compare(a.item, b.item, Qt::CaseInsensitive);
        if (folded != 0)
            return folded < 0;
        return QString::compare(a.item, b.item, Qt::CaseSensitive) < 0;
    });
    return members;
}

Printout DatabaseSlotOrder(const MemberTable& table)
{
    Printout out(4, PrintLine::Empty());
    forEachMember(table, [&](int slot, const MemberRecord& r) {
        out.append(PrintLine::At(kPrintColumn,
                                 QStringLiteral("   ") + QString::number(slot) + QStringLiteral(". ") + memberText(r)));
        out.append(PrintLine::Empty());
    });
    return out;
}

Printout DatabaseSorted(const MemberTable& table)
{
    Printout out(2, PrintLine::Empty());
    // Each member under its own slot, even when a damaged file holds a call
    // twice.
    for (const SortedMember& m : SortedMembers(table)) {
        out.append(PrintLine::At(kPrintColumn, QString::number(m.slot) + QLatin1Char(' ') + m.item));
        out.append(PrintLine::Empty());
    }
    return out;
}

bool Print(LinePrinter& printer, const Printout& printout)
{
    for (const PrintLine& line : printout) {
        const bool ok = line.empty ? printer.printEmptyLine() : printer.printLine(line.text, line.column);
        if (!ok)
            return false;
    }
    return printer.endDocument();
}

}  // namespace Printouts

namespace DatabaseDisplay {

QString SlotText(int slot)
{
    return slot < 0 ? QString::number(slot) : QLatin1Char(' ') + QString::number(slot);
}

QStringList SlotOrderLines(const MemberTable& table)
{
    QStringList lines;
    forEachMember(table, [&](int slot, const MemberRecord& r) {
        lines.append(kFiveBlanks + SlotText(slot) + QLatin1Char(' ') + memberText(r));
    });
    return lines;
}

QStringList SortingItems(const MemberTable& table)
{
    QStringList items;
    for (const Printouts::SortedMember& m : Printouts::SortedMembers(table))
        items.append(kFiveBlanks + m.item);
    return items;
}

QStringList SortedLines(const MemberTable& table)
{
    QStringList lines;
    for (const Printouts::SortedMember& m : Printouts::SortedMembers(table))
        lines.append(QLatin1Char(' ') + SlotText(m.slot) + QLatin1Char(' ') + m.item.trimmed());
    return lines;
}

}  // namespace DatabaseDisplay
