#pragma once

#include <QObject>
#include <QString>

// What a callbook knows of one call, in its own terms.
struct CallsignInfo {
    QString call;
    QString firstName;  // as the service gives it ("Mary Ann")
    QString city;
    QString state;
    bool operator==(const CallsignInfo&) const = default;
};

// Why a lookup gave no answer.
enum class CallbookError {
    None,
    NotFound,      // the service does not know the call
    LoginRefused,  // the stored user or password was refused
    Unreachable,   // no reply, a timeout, or an HTTP error status
    BadReply,      // a reply that is not the service's XML
    KeyringLocked, // the keyring keeps the password but has not given it
};

struct CallbookResult {
    CallbookError error = CallbookError::None;
    CallsignInfo info;  // filled when error is None; NotFound keeps what else the reply held
    QString detail;     // the transfer's or the service's own words, for diagnosis
    // Who answered, as the status line names it: "QRZ", "HAMQTH", "CACHE".
    QString source = QStringLiteral("QRZ");
    bool found() const { return error == CallbookError::None; }
    // The service gave an answer about the call (found or not), one worth keeping.
    bool answered() const { return error == CallbookError::None || error == CallbookError::NotFound; }
};

// One call-sign lookup service. A lookup starts and returns at once; its
// answer follows through answered(), from the event loop, never from inside
// lookup(). Each lookup is answered exactly once.
class Callbook : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The service's name in status texts ("QRZ", "HAMQTH").
    virtual QString name() const = 0;
    // A login is stored: lookups go to the service.
    virtual bool isSetUp() const = 0;
    virtual void lookup(const QString& call) = 0;

signals:
    void answered(const QString& call, const CallbookResult& result);
};

// The member editor's texts for a found call. Name: the first word of the
// first name, upper case. City: the city upper case (kept when the reply has
// none), then a blank and the state's first two letters unless they are the
// net's home state "MS".
QString CallbookNameText(const CallsignInfo& info);
QString CallbookCityStateText(const CallsignInfo& info, const QString& kept);
// The status line for a found call: "K2NEW FROM HAMQTH"; empty otherwise.
QString CallbookAnsweredText(const QString& call, const CallbookResult& result);
