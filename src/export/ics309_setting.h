#pragma once

#include <QDateTime>
#include <QString>

class SettingsStore;

// What the served agency's log needs that the net does not know.
struct Ics309Details {
    QString incidentName;  // box 1
    QString netName;       // box 3: the radio net's name or a tactical call
    QDateTime periodFrom;  // box 2, UTC
    QDateTime periodTo;
    bool operator==(const Ics309Details&) const = default;
};

// The details given at the last export, offered at the next; the one owner
// of the "ICS309" keys. The period is kept as its times of day: a net meets
// at the same hours on another date.
class Ics309Setting {
public:
    explicit Ics309Setting(SettingsStore& store) : store_(store) {}
    // The kept names, else netName; the kept times of day on the date of
    // first, else first and last themselves.
    Ics309Details offer(const QString& netName, const QDateTime& first, const QDateTime& last) const;
    void keep(const Ics309Details& details);

private:
    SettingsStore& store_;
};
