#include "startup_sequence.h"
#include "core/settings_sections.h"

#include "core/paths.h"
#include "core/safe_write.h"
#include "lookup/callbook_cache.h"
#include "core/settings_store.h"
#include "lookup/callbook_login.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace Startup {

namespace {
const QString& kSettings = SettingsSections::kSettings;
}

DateTexts DateTextsFor(const QDate& today)
{
    const auto digits = [](int n, int width) { return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')); };
    DateTexts t;
    t.reportYear = digits(today.year(), 4);
    t.monthNumber = digits(today.month(), 2);
    t.dayOfMonth = digits(today.day(), 2);
    t.today = t.monthNumber + QLatin1Char('/') + t.dayOfMonth + QLatin1Char('/') + t.reportYear;
    return t;
}

QString Credits()
{
    return QStringLiteral("THE VELN NET CONTROL PROGRAM\r\n"
                          "WRITTEN BY ORIN BASKETT  KD0ORB\r\n"
                          "RELEASED NOVEMBER 2026");
}

IdentityOutcome SettleStartupIdentity(SettingsStore& store, const OperatorIdentity& stored,
                                      const OperatorIdentity& answered)
{
    IdentityOutcome out;
    out.lblName = stored.name.isEmpty() ? answered.name : stored.name.toUpper();
    out.control = SettleIdentity(store, stored, answered);
    out.netControl = answered.netControl;
    return out;
}

bool ShouldOfferQrzLogin(SettingsStore& store)
{
    const CallbookLogin login(store);
    return !login.dontAskAtStart() && !login.anySetUp();
}

bool RemoveEarlierManagerFlag(SettingsStore& store)
{
    if (store.GetSetting(kSettings, QStringLiteral("NMFlag")).isEmpty())
        return false;
    store.DeleteSetting(kSettings, QStringLiteral("NMFlag"));
    return true;
}

const QStringList& Sayings()
{
    static const QStringList sayings = {
        QStringLiteral("God is like Coca-Cola - He's the real thing"),
        QStringLiteral("God is like General Electric - He brings good things to light"),
        QStringLiteral("God is like Hallmark cards - He cared enough to send His very best"),
        QStringLiteral("God is like Bayer aspirin - He works wonders"),
        QStringLiteral("God is like Ford - He's got a better idea"),
        QStringLiteral("God is like Visa - He's everywhere you want to be"),
        QStringLiteral("God is like Allstate - you're in good hands with Him"),
        QStringLiteral("God is like Scotch tape - you can't see Him, but you know He's there"),
        QStringLiteral("God is like American Express - don't leave home without Him"),
        QStringLiteral("God is like Timex - He takes a licking and keeps on ticking"),
    };
    return sayings;
}

int SayingNumberFor(double r)
{
    const double n = std::floor(10.0 * r + 1.0);
    if (!(n >= 1.0))  // also a NaN draw
        return 1;
    return std::min(10, int(n));
}

QString Saying(int n)
{
    if (n < 1 || n > Sayings().size())
        return {};
    return Sayings().at(n - 1);
}

std::optional<int> SayingPointSize(int screenWidth, int screenHeight)
{
    if (screenWidth == 1024 && screenHeight == 768)
        return kSmallScreenSayingPointSize;
    return std::nullopt;
}

bool GreetingDue(const QDate& today)
{
    return today.isValid() && today.month() == 12 && today.day() >= 19 && today.day() <= 25;
}

QString GreetingSoundFile(const Paths& paths) { return paths.documentsFolder + kGreetingSound; }

}  // namespace Startup

int Startup::RemoveLeftoversOfEarlierRuns(const Paths& paths)
{
    const auto folderOf = [](const QString& file) { return QFileInfo(file).absolutePath(); };
    const QList<std::pair<QString, QStringList>> places = {
        {folderOf(paths.memberFile), {QFileInfo(paths.memberFile).fileName()}},
        {folderOf(paths.settingsFile), {QFileInfo(paths.settingsFile).fileName()}},
        {paths.dataRoot, {CallbookCache::kFileName}},
        {paths.sessionsFolder, {QStringLiteral("*.txt"), QStringLiteral("*.times")}},
        {paths.documentsFolder, {QStringLiteral("*.rtf")}},
    };
    int removed = 0;
    for (const auto& [folder, names] : places)
        if (!folder.isEmpty())
            removed += int(RemoveWriteLeftovers(folder, names).size());
    return removed;
}
