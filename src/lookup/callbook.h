#pragma once

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
};

struct CallbookResult {
    CallbookError error = CallbookError::None;
    CallsignInfo info;  // filled when error is None; NotFound keeps what else the reply held
    QString detail;     // the transfer's or the service's own words, for diagnosis
    bool found() const { return error == CallbookError::None; }
};

// The member editor's texts for a found call. Name: the first word of the
// first name, upper case. City: the city upper case (kept when the reply has
// none), then a blank and the state's first two letters unless they are the
// net's home state "MS".
QString CallbookNameText(const CallsignInfo& info);
QString CallbookCityStateText(const CallsignInfo& info, const QString& kept);
