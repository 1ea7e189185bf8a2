#pragma once

#include "members/operator_identity.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;
struct Paths;

// The decisions of the start-up, free of windows, so each can be tested alone.
struct Paths;

namespace Startup {

inline const QString kSplashCaption = QStringLiteral("TARVEN SECTION NET");
inline const QString kAssociation = QStringLiteral("VELNOR ASSOCIATION");
inline const QString kVersionLine = QStringLiteral(" VERSION 1     BUILD 1");
inline const QString kNetControlIs = QStringLiteral("TODAY'S NET CONTROL IS");
inline const QString kGoodEvening = QStringLiteral("GOOD EVENING");
inline const QString kProgramName = QStringLiteral("VELN Net");
inline const QString kNone = QStringLiteral("NONE");
inline const QString kGreetingSound = QStringLiteral("merryxmas.wav");
inline const QString kSecondCopyRefused = QStringLiteral(
    "VELN Net is already running on this computer.\r\nOnly one copy can run at a time, so that the member "
    "file is never written by two windows.");
inline const QString kNotStartedUnguarded = QStringLiteral(
    "VELN Net does not start without it, so that the member file is never written by two windows.");

constexpr int kHandOverMs = 5000;
constexpr int kSmallScreenSayingPointSize = 18;

// Today's date texts: "mm/dd/yyyy" and its pieces.
struct DateTexts {
    QString today;        // "12/19/2026"
    QString reportYear;   // "2026"
    QString monthNumber;  // "12"
    QString dayOfMonth;   // "19"
};
DateTexts DateTextsFor(const QDate& today);

// The splash's credits: the program's name, the author line, the release line.
QString Credits();

// What the identity question settles for the splash and the program.
struct IdentityOutcome {
    QString lblName;          // the operator's name as the splash shows it
    bool netControl = false;  // "TODAY'S NET CONTROL IS" is shown
    NetControl control;       // empty unless the operator runs today's net
};
// stored: the name and call kept from earlier runs (empty on a first run);
// answered: the dialog's answers. Stores the answers on a first run.
IdentityOutcome SettleStartupIdentity(SettingsStore& store, const OperatorIdentity& stored,
                                      const OperatorIdentity& answered);

// The QRZ login is offered unless the operator ticked "DO NOT ASK AGAIN" or a
// password is already stored.
bool ShouldOfferQrzLogin(SettingsStore& store);

// Removes "Settings"/"NMFlag" of earlier releases; true when it held a value.
bool RemoveEarlierManagerFlag(SettingsStore& store);

// The ten sayings of the day, numbered 1..10 (index 0 is saying 1).
const QStringList& Sayings();
// Saying number 1..10 for a draw r in [0, 1); a draw outside is held to the range.
int SayingNumberFor(double r);
// The saying for number n (1..10); empty outside.
QString Saying(int n);

// The saying's font size on this screen: 18 on a 1024 by 768 screen, nothing
// (the design size) on any other.
std::optional<int> SayingPointSize(int screenWidth, int screenHeight);

// The seasonal greeting is due from 19 to 25 December.
bool GreetingDue(const QDate& today);
// The greeting's sound: documents folder + "merryxmas.wav".
QString GreetingSoundFile(const Paths& paths);

// Removes the temporary files a write cut short by a kill left beside the
// member file, the settings, the callbook cache, the sessions and the
// documents; run once this copy holds the lock. Returns how many went.
int RemoveLeftoversOfEarlierRuns(const Paths& paths);

}  // namespace Startup
