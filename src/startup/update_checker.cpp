#include "update_checker.h"
#include "core/settings_sections.h"

#include "core/safe_write.h"
#include "core/settings_store.h"
#include "core/text_number.h"
#include "platform/http_client.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString& kSettings = SettingsSections::kSettings;
const QString kFileUpdate = QStringLiteral("FileUpdate");
const QString kPreamble = QStringLiteral("VelnPreamble.rtf");
const QString kInstructions = QStringLiteral("VelnInst.rtf");

// Copies through a temporary file renamed at the end, so a failed copy
// leaves the older target whole.
bool CopyReplacing(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    SafeWriter out(to);
    if (!out.open())
        return false;
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() || !out.write(block)) {
            out.cancel();
            return false;
        }
    }
    return out.commit();
}

std::optional<QDate> LocalFileDate(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified().date();
}
}  // namespace

std::optional<QDate> ParseServerDate(const QString& text)
{
    const QString line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (line.isEmpty())
        return std::nullopt;
    static const char* const fullYear[] = {"M/d/yyyy", "yyyy-M-d", "yyyy/M/d", "M-d-yyyy", "MMMM d, yyyy",
                                           "MMM d, yyyy", "d MMMM yyyy", "d MMM yyyy", "MMMM d yyyy", "MMM d yyyy"};
    static const char* const shortYear[] = {"M/d/yy", "M-d-yy"};
    // A date followed by a time is read by its date.
    for (const QString& candidate : {line, line.section(QLatin1Char(' '), 0, 0)}) {
        for (const char* format : fullYear) {
            const QDate d = QDate::fromString(candidate, QLatin1String(format));
            if (d.isValid())
                return d;
        }
        for (const char* format : shortYear) {
            const QDate d = QDate::fromString(candidate, QLatin1String(format));
            if (d.isValid())
                return d.year() < 1930 ? d.addYears(100) : d;
        }
    }
    return std::nullopt;
}

UpdateChecker::UpdateChecker(HttpClient& http, Prompts& prompts, SettingsStore& settings, const Paths& paths,
                             const QString& programFile)
    : http_(http), prompts_(prompts), settings_(settings), paths_(paths), programFile_(programFile)
{
}

QStringList UpdateChecker::parkedFileNames()
{
    return {QStringLiteral("VelnVerUpdate.exe"), QStringLiteral("VelnBldUpdate.exe")};
}
QString UpdateChecker::parkedVersion() const { return paths_.tempFolder + QLatin1Char('/') + parkedFileNames().at(0); }
QString UpdateChecker::parkedBuild() const { return paths_.tempFolder + QLatin1Char('/') + parkedFileNames().at(1); }
QString UpdateChecker::document(const QString& name) const { return paths_.documentsFolder + name; }

UpdateChecker::Result UpdateChecker::run()
{
    Result r;
    QString base = settings_.GetSetting(SettingsSections::kServers, QStringLiteral("Update")).trimmed();
    if (base.isEmpty())
        return r;
    if (!base.contains(QStringLiteral("://")))
        base.prepend(QStringLiteral("https://"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    base_ = base;
    r.checked = true;
    deadline_ = QDeadlineTimer(budgetMs);

    if (QFileInfo::exists(paths_.oldMailProgram) && !QFile::remove(paths_.oldMailProgram)) {
        r.stoppedBy = QStringLiteral("cannot delete ") + paths_.oldMailProgram;
        return r;
    }

    const QString temp = QDir::toNativeSeparators(paths_.tempFolder);
    const Archive version{QStringLiteral("/updates/VelnVersion.txt"),
                          localVersion,
                          parkedVersion(),
                          QStringLiteral("A NEW VERSION HAS BEEN DOWNLOADED BUT NOT INSTALLED!"),
                          QStringLiteral("DOWNLOADING NEW VERSION"),
                          QStringLiteral("/files/VelnVerUpdate.zip"),
                          paths_.versionUpdateZip,
                          QStringLiteral("A NEWER VERSION HAS BEEN DOWNLOADED TO ") + temp,
                          true};
    const Archive build{QStringLiteral("/updates/Velnbuild.txt"),
                        localBuild,
                        parkedBuild(),
                        QStringLiteral("A NEW BUILD HAS BEEN DOWNLOADED BUT NOT INSTALLED!"),
                        QStringLiteral("DOWNLOADING NEW BUILD"),
                        QStringLiteral("/files/VelnBldUpdate.zip"),
                        paths_.buildUpdateZip,
                        QStringLiteral("A NEWER BUILD HAS BEEN  DOWNLOADED TO ") + temp,
                        false};
    for (const Archive* a : {&version, &build}) {
        const Step step = archiveStep(*a, r);
        if (step == Step::Stop || step == Step::Done)
            return r;
    }
    documents(r);
    return r;
}

UpdateChecker::Step UpdateChecker::archiveStep(const Archive& a, Result& r)
{
    const HttpTextResult number = text(a.numberPath);
    if (!number.ok) {
        r.stoppedBy = a.numberPath + QStringLiteral(": ") + number.error;
        return Step::Stop;
    }
    // Compared in single precision, as the numbers were always held.
    if (!(float(LeadingNumber(number.body)) > float(LeadingNumber(a.local))))
        return Step::Next;
    if (QFileInfo::exists(a.parked)) {
        prompts_.message(a.notInstalled, Prompts::Icon::None);
        return Step::Next;
    }
    if (onCaption)
        onCaption(a.caption);
    switch (download(a.archivePath, a.zip, kArchiveMaxBytes, false, r)) {
    case Download::FetchFailed:
        r.stoppedBy = a.archivePath + QStringLiteral(" did not arrive: ") + fetchError_;
        return Step::Stop;
    case Download::WriteFailed:
        // Nothing arrived to park, so nothing is announced.
        return Step::Next;
    case Download::Written:
        break;
    }
    // Parked before it is announced, so the message never names a missing file.
    if (!CopyReplacing(a.zip, a.parked)) {
        r.stoppedBy = QStringLiteral("cannot park ") + a.zip;
        return Step::Stop;
    }
    QFile::remove(a.zip);
    prompts_.message(a.downloaded, Prompts::Icon::None);
    r.updateDownloaded = true;
    if (!backUpProgram()) {
        r.stoppedBy = QStringLiteral("cannot back up ") + programFile_;
        return Step::Stop;
    }
    return a.endsCheck ? Step::Done : Step::Next;
}

void UpdateChecker::documents(Result& r)
{
    if (settings_.GetSetting(kSettings, kFileUpdate).isEmpty()) {
        for (const QString& name : {kInstructions, kPreamble}) {
            if (download(QStringLiteral("/files/") + name, document(name), kDocumentMaxBytes, true, r)
                != Download::Written) {
                r.stoppedBy = name + QStringLiteral(" did not arrive: ") + fetchError_;
                return;  // "FileUpdate" stays empty: both are fetched again next time
            }
        }
        settings_.SaveSetting(kSettings, kFileUpdate, SettingValue::fromBool(true));
        return;
    }

    std::optional<QDate> remote[2];
    const QString dateFiles[2] = {QStringLiteral("/updates/VelnPreambleDate.txt"),
                                  QStringLiteral("/updates/VelnInstDate.txt")};
    for (int i = 0; i < 2; ++i) {
        const HttpTextResult date = text(dateFiles[i]);
        remote[i] = date.ok ? ParseServerDate(date.body) : std::nullopt;
        if (!remote[i]) {
            r.stoppedBy = dateFiles[i] + QStringLiteral(" gives no date: ") + (date.ok ? date.body.left(40) : date.error);
            return;
        }
    }
    const QString names[2] = {kPreamble, kInstructions};
    for (int i = 0; i < 2; ++i) {
        // A document that has gone missing is fetched again.
        const std::optional<QDate> local = LocalFileDate(document(names[i]));
        if (local && local->daysTo(*remote[i]) <= 0)
            continue;
        if (download(QStringLiteral("/files/") + names[i], document(names[i]), kDocumentMaxBytes, true, r)
            != Download::Written) {
            r.stoppedBy = names[i] + QStringLiteral(" did not arrive: ") + fetchError_;
            return;
        }
    }
}

int UpdateChecker::timeLeft(int atMostMs) const
{
    return int(std::min<qint64>(atMostMs, deadline_.remainingTime()));
}

HttpTextResult UpdateChecker::text(const QString& path)
{
    const int t = timeLeft(kTextTimeoutMs);
    if (t <= 0) {
        HttpTextResult out;
        out.timedOut = true;
        out.error = QStringLiteral("the update check ran out of time");
        return out;
    }
    return http_.getText(QUrl(base_ + path), t, kTextMaxBytes);
}

bool LooksLikeRtf(const QByteArray& head)
{
    // The viewer reads a document behind a byte-order mark or blank lines.
    QByteArrayView rest(head);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    while (!rest.isEmpty() && (rest.front() == ' ' || rest.front() == '\r' || rest.front() == '\n' || rest.front() == '\t'))
        rest = rest.sliced(1);
    return rest.startsWith("{\\rtf");
}

UpdateChecker::Download UpdateChecker::download(const QString& path, const QString& target, qint64 maxBytes,
                                                bool rtf, Result& r)
{
    fetchError_.clear();
    const int t = timeLeft(kCheckBudgetMs);
    if (t <= 0) {
        fetchError_ = QStringLiteral("the update check ran out of time");
        return Download::FetchFailed;
    }
    MakeFolder(paths_.tempFolder);
    MakeFolder(QFileInfo(target).absolutePath());
    // Streamed to a temporary file: a large reply never sits whole in memory,
    // and the old file is replaced only by a complete, checked one.
    SafeWriter out(target);
    if (!out.open()) {
        r.writeError = out.error();
        prompts_.message(r.writeError, Prompts::Icon::Exclamation);
        return Download::WriteFailed;
    }
    const HttpResult got = http_.getInto(QUrl(base_ + path), [&out](const QByteArray& piece) { return out.write(piece); },
                                         t, maxBytes);
    // An empty reply, or a page that is no RTF document, would wipe out a
    // good local copy.
    if (!out.failed()) {
        if (!got.ok)
            fetchError_ = got.error;
        else if (out.size() == 0)
            fetchError_ = QStringLiteral("empty reply");
        else if (rtf && !LooksLikeRtf(out.head()))
            fetchError_ = QStringLiteral("not an RTF document");
        if (!fetchError_.isEmpty()) {
            out.cancel();
            return Download::FetchFailed;
        }
    }
    if (!out.commit()) {
        r.writeError = out.error();
        prompts_.message(r.writeError, Prompts::Icon::Exclamation);
        return Download::WriteFailed;
    }
    return Download::Written;
}

bool UpdateChecker::backUpProgram()
{
    if (!MakeFolder(paths_.fileBackupFolder))
        return false;
    return CopyReplacing(programFile_,
                         WithTrailingSeparator(paths_.fileBackupFolder) + QFileInfo(programFile_).fileName());
}
