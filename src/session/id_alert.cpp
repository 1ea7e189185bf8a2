#include "id_alert.h"

#include "core/text_number.h"

#include <QLocale>

namespace IdAlert {

namespace {

int numberAt(const QString& text, int from, int count)
{
    // The numeric value of characters from..from+count-1 (1-based); a text
    // starting with something else than a digit reads as 0.
    const QString part = text.mid(from - 1, count);
    if (part.isEmpty() || !part.at(0).isDigit())
        return 0;
    return int(LeadingNumber(part));
}

}  // namespace

QString ScheduleKey(const QTime& time)
{
    const QString text = QLocale::c().toString(time, QStringLiteral("h:mm:ss AP"));
    return QStringLiteral("%1:%2:%3").arg(numberAt(text, 1, 2)).arg(numberAt(text, 3, 2)).arg(numberAt(text, 6, 2));
}

Action ActionFor(const QString& key, bool blinking)
{
    static const QStringList endKeys{"7:29:15", "7:39:15", "7:49:15", "7:59:15", "8:9:15", "8:19:15"};
    static const QStringList startKeys{"7:39:0", "7:49:0", "7:59:0", "8:9:0", "8:19:0"};
    if (endKeys.contains(key))
        return Action::Stop;
    if (startKeys.contains(key))
        return Action::Start;
    // A missed end key: the alert stops at the first tick past second 15.
    const int second = int(LeadingNumber(key.size() == 6 ? key.right(1) : key.right(2)));
    if (blinking && second > 15)
        return Action::Stop;
    return Action::None;
}

}  // namespace IdAlert
