#pragma once

#include <QString>
#include <QTime>

// The station-identification reminder's schedule on a 12-hour clock: an
// alert starts at 7:39, 7:49, 7:59, 8:09 and 8:19 (morning or evening) and
// ends at second 15 of that minute; when the tick at second 15 is missed,
// the first tick after it ends the alert.
namespace IdAlert {

// "h:m:s" with the 12-hour hour, each without leading zeros (8:09:15 PM
// gives "8:9:15").
QString ScheduleKey(const QTime& time);

enum class Action {
    None,
    Start,  // play the reminder, hide the status line, start the blinking
    Stop,   // stop the blinking, hide the ID label, show the status line
};

// What the once-a-second tick does at this time; blinking tells whether an
// alert is running (only then can a missed end be made up).
Action ActionAt(const QTime& time, bool blinking);
// The same for a schedule key; a text that is no "h:m:s" does nothing.
Action ActionFor(const QString& key, bool blinking);

}  // namespace IdAlert
