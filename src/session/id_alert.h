#pragma once

#include <QString>
#include <QTime>

// The station-identification reminder's schedule. The clock is read as a
// 12-hour time text (7:39:00 PM); hour, minute and second are taken from fixed
// character positions of that text, so a two-digit hour never matches.
namespace IdAlert {

// "h:m:s" without leading zeros, from the time text's character positions.
QString ScheduleKey(const QTime& time);

enum class Action {
    None,
    Start,  // play the reminder, hide the status line, start the blinking
    Stop,   // stop the blinking, hide the ID label, show the status line
};

// What the once-a-second tick does at this key; blinking tells whether an
// alert is running (only then can the fallback stop it).
Action ActionFor(const QString& key, bool blinking);

}  // namespace IdAlert
