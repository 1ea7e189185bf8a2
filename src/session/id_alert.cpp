#include "id_alert.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace IdAlert {

namespace {

struct Minute {
    int hour;  // 12-hour clock
    int minute;
    bool operator==(const Minute&) const = default;
};

// 7:29 has no start; its end only stops an alert still running then.
constexpr std::array kStarts{Minute{7, 39}, Minute{7, 49}, Minute{7, 59}, Minute{8, 9}, Minute{8, 19}};
constexpr std::array kEnds{Minute{7, 29}, Minute{7, 39}, Minute{7, 49}, Minute{7, 59}, Minute{8, 9}, Minute{8, 19}};
constexpr int kEndSecond = 15;

int hour12(int hour24)
{
    const int h = hour24 % 12;
    return h == 0 ? 12 : h;
}

bool listed(const auto& minutes, const Minute& m)
{
    return std::find(minutes.begin(), minutes.end(), m) != minutes.end();
}

Action actionAt(const Minute& m, int second, bool blinking)
{
    if (second == kEndSecond && listed(kEnds, m))
        return Action::Stop;
    if (second == 0 && listed(kStarts, m))
        return Action::Start;
    if (blinking && second > kEndSecond)
        return Action::Stop;
    return Action::None;
}

}  // namespace

QString ScheduleKey(const QTime& time)
{
    return QStringLiteral("%1:%2:%3").arg(hour12(time.hour())).arg(time.minute()).arg(time.second());
}

Action ActionAt(const QTime& time, bool blinking)
{
    return actionAt({hour12(time.hour()), time.minute()}, time.second(), blinking);
}

Action ActionFor(const QString& key, bool blinking)
{
    const QStringList parts = key.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return Action::None;
    std::array<int, 3> fields{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        fields[size_t(i)] = parts.at(i).toInt(&ok);
        if (!ok)
            return Action::None;
    }
    return actionAt({fields[0], fields[1]}, fields[2], blinking);
}

}  // namespace IdAlert
