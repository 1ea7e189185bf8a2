#include "web/roster_page.h"

#include <QDateTime>
#include <QJsonArray>

namespace {

// Bounds on what one snapshot may put on the page.
constexpr int kMaxText = 200;
constexpr int kMaxStations = 10000;

QString text(const QJsonValue& v)
{
    if (!v.isString())
        return {};
    QString s = v.toString().left(kMaxText);
    // Control characters have no business on a roster and some cannot be HTML at all.
    s.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    return s;
}

qint64 count(const QJsonValue& v)
{
    const double d = v.toDouble(0);
    return d > 0 && d < 9e15 ? qint64(d) : 0;
}

QJsonValue time(const QJsonValue& v)
{
    if (!v.isString())
        return QJsonValue::Null;
    QDateTime t = QDateTime::fromString(v.toString().left(40), Qt::ISODateWithMs);
    if (!t.isValid())
        return QJsonValue::Null;
    return t.toUTC().toString(Qt::ISODate);
}

QString esc(const QString& s) { return s.toHtmlEscaped(); }

QString stationItem(const QJsonObject& s)
{
    const bool out = !s.value("out").isNull();
    QString cls = out ? "st out" : "st";
    if (!s.value("member").toBool())
        cls += " guest";
    QString li = "<li class=\"" + cls + "\"><span class=\"call\">" + esc(s.value("call").toString()) +
                 "</span> <span class=\"name\">" + esc(s.value("name").toString()) +
                 "</span> <span class=\"qth\">" + esc(s.value("qth").toString()) + "</span> <span class=\"t\">in " +
                 RosterPage::clock(s.value("in")) + "</span>";
    if (out)
        li += " <span class=\"t\">out " + RosterPage::clock(s.value("out")) + "</span>";
    return li + "</li>\n";
}

const char* const kStyle =
    "body{font-family:sans-serif;margin:0.5em;background:#fff;color:#111}"
    "h1{font-size:1.3em;margin:0.2em 0}"
    ".call{font-family:monospace;font-size:1.6em;font-weight:bold}"
    "#nc .call{font-size:1.3em}"
    ".on{color:#05591d;font-weight:bold}.off{color:#9b1111;font-weight:bold}"
    ".counts b{font-size:1.3em}"
    "ol{padding-left:1.6em}li.st{margin:0.4em 0;line-height:1.4}"
    ".name{font-weight:bold}.qth{color:#333}.t{color:#333;white-space:nowrap}"
    "li.out{color:#555}li.out .call{text-decoration:line-through}"
    "li.out .t:last-child{color:#9b1111;font-weight:bold}"
    "li.guest .call{font-style:italic}"
    "#state{color:#333}";

}  // namespace

namespace RosterPage {

QJsonObject servedSnapshot(const QJsonObject& snapshot, bool controlOnline)
{
    const QJsonObject nc = snapshot.value("netControl").toObject();
    QJsonArray stations;
    for (const QJsonValue& v : snapshot.value("stations").toArray()) {
        if (stations.size() >= kMaxStations)
            break;
        const QJsonObject s = v.toObject();
        stations.append(QJsonObject{{"call", text(s.value("call"))},
                                    {"name", text(s.value("name"))},
                                    {"qth", text(s.value("qth"))},
                                    {"member", s.value("member").toBool()},
                                    {"in", time(s.value("in"))},
                                    {"out", time(s.value("out"))}});
    }
    return QJsonObject{{"net", text(snapshot.value("net"))},
                       {"epoch", count(snapshot.value("epoch"))},
                       {"seq", count(snapshot.value("seq"))},
                       {"netControl", QJsonObject{{"call", text(nc.value("call"))},
                                                  {"name", text(nc.value("name"))},
                                                  {"online", controlOnline}}},
                       {"checkins", count(snapshot.value("checkins"))},
                       {"traffic", count(snapshot.value("traffic"))},
                       {"stations", stations}};
}

QString clock(const QJsonValue& t)
{
    const QString s = t.toString();
    return s.size() >= 16 ? s.mid(11, 5) : QString();
}

const QByteArray& script()
{
    // Builds every node with textContent: a streamed text is never markup.
    static const QByteArray js = R"js(
(function(){
function el(tag,cls,txt){var e=document.createElement(tag);if(cls)e.className=cls;if(txt!==undefined)e.textContent=txt;return e;}
function sp(){return document.createTextNode(" ");}
function clock(t){return typeof t==="string"&&t.length>=16?t.slice(11,16):"";}
function set(id,txt){document.getElementById(id).textContent=txt;}
function draw(n){
var nc=n.netControl||{};
set("net",n.net||"");document.title=(n.net||"Net")+" - live roster";
set("nc-call",nc.call||"");set("nc-name",nc.name||"");
var o=document.getElementById("nc-online");o.textContent=nc.online?"online":"offline";o.className=nc.online?"on":"off";
set("checkins",String(n.checkins||0));set("traffic",String(n.traffic||0));
var items=[];
(n.stations||[]).forEach(function(s){
var out=s.out!==null&&s.out!==undefined;
var li=el("li","st"+(out?" out":"")+(s.member?"":" guest"));
li.append(el("span","call",s.call||""),sp(),el("span","name",s.name||""),sp(),el("span","qth",s.qth||""),sp(),el("span","t","in "+clock(s.in)));
if(out)li.append(sp(),el("span","t","out "+clock(s.out)));
items.push(li);});
document.getElementById("stations").replaceChildren.apply(document.getElementById("stations"),items);
document.getElementById("state").hidden=true;}
if(!window.EventSource)return;
var es=new EventSource("/events");
es.onmessage=function(m){try{draw(JSON.parse(m.data));}catch(e){}};
es.onerror=function(){var s=document.getElementById("state");s.textContent="Connection lost, retrying.";s.hidden=false;};
})();
)js";
    return js;
}

QByteArray html(const QJsonObject& served)
{
    const bool heard = !served.isEmpty();
    const QJsonObject nc = served.value("netControl").toObject();
    const bool online = nc.value("online").toBool();
    const QString net = served.value("net").toString();

    QString page;
    page.reserve(4096);
    page += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
            "<title>" + esc(net.isEmpty() ? QStringLiteral("Net") : net) + " - live roster</title>"
            "<style>" + QString::fromLatin1(kStyle) + "</style></head>\n<body>\n";
    page += "<h1 id=\"net\">" + esc(net) + "</h1>\n";
    page += "<p id=\"nc\">Net control: <span class=\"call\" id=\"nc-call\">" + esc(nc.value("call").toString()) +
            "</span> <span id=\"nc-name\">" + esc(nc.value("name").toString()) + "</span> <span id=\"nc-online\" class=\"" +
            (online ? "on\">online" : "off\">offline") + "</span></p>\n";
    page += "<p class=\"counts\">Check-ins: <b id=\"checkins\">" + QString::number(count(served.value("checkins"))) +
            "</b> Traffic: <b id=\"traffic\">" + QString::number(count(served.value("traffic"))) + "</b> (times UTC)</p>\n";
    page += QString("<p id=\"state\"") + (heard ? " hidden>" : ">Waiting for the net.") + "</p>\n";
    page += "<ol id=\"stations\">\n";
    for (const QJsonValue& v : served.value("stations").toArray())
        page += stationItem(v.toObject());
    page += "</ol>\n<script>" + QString::fromUtf8(script()) + "</script>\n</body></html>\n";
    return page.toUtf8();
}

}  // namespace RosterPage
