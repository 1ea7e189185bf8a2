#pragma once

#include "core/paths.h"
#include "platform/http_client.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Prompts;
class SettingsStore;

// A date as the update server writes it ("12/08/26", "12/08/2026",
// "2026-12-08", "December 8, 2026", ...); a two-digit year below 30 is in
// the 2000s. Nothing when the text is not a date.
std::optional<QDate> ParseServerDate(const QString& text);

// Once per start-up: asks the update server (settings "Servers"/"Update";
// empty means no check at all) for a newer version or build, parks a
// downloaded archive in the temporary folder for the operator to install,
// backs up the program file, and keeps the two net documents up to date.
// The first failure ends the check without a message, except a file that
// cannot be written, which is named with the reason. Each reply has a size
// cap, and the whole check ends after budgetMs.
// The start of a document the viewer reads as RTF.
bool LooksLikeRtf(const QByteArray& head);

class UpdateChecker {
public:
    static inline const QString kLocalVersion = QStringLiteral("1");
    static inline const QString kLocalBuild = QStringLiteral("1");
    // A version, build or date text is one short line.
    static constexpr qint64 kTextMaxBytes = 512;
    static constexpr qint64 kDocumentMaxBytes = qint64(4) * 1024 * 1024;
    static constexpr qint64 kArchiveMaxBytes = qint64(64) * 1024 * 1024;
    static constexpr int kTextTimeoutMs = 10000;
    static constexpr int kCheckBudgetMs = 30000;

    struct Result {
        bool checked = false;           // an update server is set
        bool updateDownloaded = false;  // an archive was parked in this run
        QString stoppedBy;              // why the check ended early; never shown
        QString writeError;             // a file that could not be written, and why; shown
    };

    // programFile: the running program, backed up when an archive arrives.
    UpdateChecker(HttpClient& http, Prompts& prompts, SettingsStore& settings, const Paths& paths,
                  const QString& programFile);

    // Told the new caption of the window's second line ("DOWNLOADING NEW VERSION").
    std::function<void(const QString&)> onCaption;
    QString localVersion = kLocalVersion;
    QString localBuild = kLocalBuild;
    // The whole check, every request included.
    int budgetMs = kCheckBudgetMs;

    Result run();

    // Where a downloaded archive is parked.
    // The names of the files the check parks in the temporary folder.
    static QStringList parkedFileNames();
    QString parkedVersion() const;
    QString parkedBuild() const;

private:
    enum class Step { Stop, Next, Done };
    enum class Download { FetchFailed, WriteFailed, Written };
    struct Archive {
        QString numberPath, local, parked, notInstalled, caption, archivePath, zip, downloaded;
        bool endsCheck;
    };

    Step archiveStep(const Archive& a, Result& r);
    void documents(Result& r);
    HttpTextResult text(const QString& path);
    int timeLeft(int atMostMs) const;
    Download download(const QString& path, const QString& target, qint64 maxBytes, bool rtf, Result& r);
    bool backUpProgram();
    QString document(const QString& name) const;

    HttpClient& http_;
    Prompts& prompts_;
    SettingsStore& settings_;
    Paths paths_;
    QString programFile_;
    QString base_;
    QDeadlineTimer deadline_;
    QString fetchError_;  // why the last download did not arrive
};
