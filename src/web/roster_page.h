#pragma once

#include <QByteArray>
#include <QJsonObject>

// The page's data and its first HTML. The web page never serves what it is
// given: it serves a copy holding only the roster's own fields, so a login or
// anything else a snapshot might one day carry cannot reach a visitor.
namespace RosterPage {

// Copies net, epoch, seq, netControl {call, name}, checkins, traffic and
// stations [{call, name, qth, member, in, out}] with their expected types
// (texts cut to a sane length, times kept only when they read as times), and
// adds netControl.online.
QJsonObject servedSnapshot(const QJsonObject& snapshot, bool controlOnline);

// The whole page for a served snapshot, readable without JavaScript; every
// text escaped. An empty object renders the page of a net not yet heard.
QByteArray html(const QJsonObject& served);

// The page's inline script (it redraws from each streamed snapshot), for the
// Content-Security-Policy hash.
const QByteArray& script();

// "19:42" from "2026-12-09T19:42:05Z"; empty for an unknown time.
QString clock(const QJsonValue& time);

}  // namespace RosterPage
