#include "ics309.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace Ics309 {

namespace {

// US Letter in points (the writer draws at 72 dots per inch).
constexpr double kPageW = 612, kPageH = 792, kMargin = 36;
constexpr double kLeft = kMargin, kRight = kPageW - kMargin, kWidth = kRight - kLeft;
constexpr double kTitleH = 26, kBoxH = 36, kSectionH = 16, kColumnHeadH = 28, kRowH = 17, kFooterH = 54;
constexpr double kRowsTop = kMargin + kTitleH + 2 * kBoxH + kSectionH + kColumnHeadH;
constexpr double kFooterTop = kPageH - kMargin - kFooterH;
// Columns: time, from call, from msg #, to call, to msg #, message.
constexpr double kCols[] = {54, 78, 38, 78, 38, kWidth - 54 - 78 - 38 - 78 - 38};

QString day(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(QStringLiteral("yyyy-MM-dd")) : QString(); }
QString hhmm(const QDateTime& at)
{
    return at.isValid() ? at.toUTC().toString(QStringLiteral("HH:mm")) + QLatin1Char('Z') : QString();
}

class Form {
public:
    Form(QPainter& p, const Header& h, const QList<NetLog::Event>& events)
        : p_(p), h_(h), events_(events), first_(h.periodFrom), last_(h.periodTo)
    {
        if (first_.isValid() && last_.isValid())
            return;
        for (const NetLog::Event& e : events)
            if (e.at.isValid()) {
                if (!first_.isValid() || e.at < first_)
                    first_ = e.at;
                if (!last_.isValid() || e.at > last_)
                    last_ = e.at;
            }
    }

    void page(int number, int pages)
    {
        p_.setPen(QPen(Qt::black, 0.8));
        // Title.
        const QRectF title(kLeft, kMargin, kWidth, kTitleH);
        p_.drawRect(title);
        text(title, QStringLiteral("COMMUNICATIONS LOG (ICS 309)"), 13, true, Qt::AlignCenter);
        // Boxes 1 to 4.
        double y = kMargin + kTitleH;
        const double half = kWidth / 2;
        box(QRectF(kLeft, y, half, kBoxH), QStringLiteral("1. Incident Name:"), {h_.incidentName});
        box(QRectF(kLeft + half, y, half, kBoxH), QStringLiteral("2. Operational Period:"),
            {QStringLiteral("Date From: %1    Date To: %2").arg(day(first_), day(last_)),
             QStringLiteral("Time From: %1    Time To: %2").arg(hhmm(first_), hhmm(last_))});
        y += kBoxH;
        box(QRectF(kLeft, y, half, kBoxH), QStringLiteral("3. Radio Net Name or Position/Tactical Call (Station ID):"),
            {h_.netName});
        box(QRectF(kLeft + half, y, half, kBoxH), QStringLiteral("4. Radio Operator (Name, Call Sign):"),
            {nameAndCall()});
        y += kBoxH;
        // Box 5: the log itself.
        const QRectF section(kLeft, y, kWidth, kSectionH);
        p_.fillRect(section, QColor(225, 225, 225));
        p_.drawRect(section);
        text(section.adjusted(4, 0, 0, 0), QStringLiteral("5. Communications Log"), 9, true, Qt::AlignVCenter | Qt::AlignLeft);
        y += kSectionH;
        columnHeads(y);
        const int perPage = RowsPerPage();
        for (int r = 0; r < perPage; ++r) {
            const int i = (number - 1) * perPage + r;
            row(kRowsTop + r * kRowH, i < events_.size() ? &events_.at(i) : nullptr);
        }
        footer(number, pages);
    }

private:
    QString nameAndCall() const
    {
        QStringList parts{h_.operatorName, h_.operatorCall};
        parts.removeAll(QString());
        return parts.join(QStringLiteral(", "));
    }

    void text(const QRectF& r, const QString& s, double size, bool bold, Qt::Alignment align)
    {
        QFont f(QStringLiteral("Helvetica"));
        f.setPointSizeF(size);
        f.setBold(bold);
        p_.setFont(f);
        // A text too long for its box is cut with an ellipsis, never drawn over the next.
        const QString shown = QFontMetricsF(f, p_.device()).elidedText(s, Qt::ElideRight, r.width() - 2);
        p_.drawText(r, int(align), shown);
    }

    void box(const QRectF& r, const QString& label, const QStringList& values)
    {
        p_.drawRect(r);
        text(QRectF(r.left() + 3, r.top() + 2, r.width() - 6, 10), label, 7.5, true, Qt::AlignLeft | Qt::AlignTop);
        const double lineH = values.size() > 1 ? 11 : 18;
        for (int i = 0; i < values.size(); ++i)
            text(QRectF(r.left() + 6, r.top() + 12 + i * lineH, r.width() - 10, lineH), values.at(i),
                 values.size() > 1 ? 8.5 : 10.5, false, Qt::AlignLeft | Qt::AlignVCenter);
    }

    void columnHeads(double y)
    {
        const double half = kColumnHeadH / 2;
        double x = kLeft;
        auto cell = [&](double w, double top, double h, const QString& s) {
            const QRectF r(x, top, w, h);
            p_.drawRect(r);
            text(r, s, 8, true, Qt::AlignCenter);
        };
        // Time and Message span both rows; From and To each head two columns.
        cell(kCols[0], y, kColumnHeadH, QStringLiteral("Time (24:00)"));
        x += kCols[0];
        for (const QString& who : {QStringLiteral("FROM"), QStringLiteral("TO")}) {
            cell(kCols[1] + kCols[2], y, half, who);
            cell(kCols[1], y + half, half, QStringLiteral("Call Sign/ID"));
            x += kCols[1];
            cell(kCols[2], y + half, half, QStringLiteral("Msg #"));
            x += kCols[2];
        }
        cell(kCols[5], y, kColumnHeadH, QStringLiteral("Message"));
    }

    void row(double y, const NetLog::Event* e)
    {
        const QStringList cells = e ? QStringList{hhmm(e->at), e->from, QString(), e->to, QString(), e->subject}
                                    : QStringList(6);
        double x = kLeft;
        for (int c = 0; c < 6; ++c) {
            const QRectF r(x, y, kCols[c], kRowH);
            p_.drawRect(r);
            text(r.adjusted(4, 0, -2, 0), cells.at(c), 9, false,
                 (c == 5 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
            x += kCols[c];
        }
    }

    void footer(int number, int pages)
    {
        const double y = kFooterTop;
        const double left = kWidth * 0.62;
        box(QRectF(kLeft, y, left, kFooterH - 18), QStringLiteral("6. Prepared By (Name, Call Sign):"),
            {nameAndCall()});
        box(QRectF(kLeft + left, y, kWidth - left, kFooterH - 18), QStringLiteral("7. Date & Time Prepared:"),
            {day(h_.prepared) + QLatin1Char(' ') + hhmm(h_.prepared)});
        const QRectF bottom(kLeft, y + kFooterH - 18, kWidth, 18);
        p_.drawRect(bottom);
        text(bottom.adjusted(6, 0, 0, 0), QStringLiteral("ICS 309"), 9, true, Qt::AlignLeft | Qt::AlignVCenter);
        text(bottom, QStringLiteral("Page %1 of %2").arg(number).arg(pages), 9, true, Qt::AlignCenter);
        text(bottom.adjusted(0, 0, -6, 0), QStringLiteral("Signature: ______________________"), 8.5, false,
             Qt::AlignRight | Qt::AlignVCenter);
    }

    QPainter& p_;
    const Header& h_;
    const QList<NetLog::Event>& events_;
    QDateTime first_, last_;
};

}  // namespace

int RowsPerPage() { return int((kFooterTop - kRowsTop) / kRowH); }

int PageCount(int events) { return std::max(1, (events + RowsPerPage() - 1) / RowsPerPage()); }

QByteArray Pdf(const Header& header, const QList<NetLog::Event>& events)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        writer.setTitle(QStringLiteral("Communications Log (ICS 309)"));
        writer.setCreator(kCreator);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        Form form(painter, header, events);
        const int pages = PageCount(int(events.size()));
        for (int n = 1; n <= pages; ++n) {
            if (n > 1)
                writer.newPage();
            form.page(n, pages);
        }
        painter.end();
    }
    return bytes;
}

}  // namespace Ics309
