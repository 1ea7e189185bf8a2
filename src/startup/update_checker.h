#pragma once

#include "core/paths.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class HttpClient;
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
// The first failure ends the check without a message.
class UpdateChecker {
public:
    static inline const QString kLocalVersion = QStringLiteral("1");
    static inline const QString kLocalBuild = QStringLiteral("1");
    // Archives and documents may be large; texts use the client's default.
    static constexpr int kDownloadTimeoutMs = 5 * 60 * 1000;

    struct Result {
        bool checked = false;           // an update server is set
        bool updateDownloaded = false;  // an archive was parked in this run
        QString stoppedBy;              // why the check ended early; never shown
    };

    // programFile: the running program, backed up when an archive arrives.
    UpdateChecker(HttpClient& http, Prompts& prompts, SettingsStore& settings, const Paths& paths,
                  const QString& programFile);

    // Told the new caption of the window's second line ("DOWNLOADING NEW VERSION").
    std::function<void(const QString&)> onCaption;
    QString localVersion = kLocalVersion;
    QString localBuild = kLocalBuild;

    Result run();

    // Where a downloaded archive is parked.
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
    Download download(const QString& path, const QString& target, bool rtf = false);
    bool backUpProgram();
    QString document(const QString& name) const;

    HttpClient& http_;
    Prompts& prompts_;
    SettingsStore& settings_;
    Paths paths_;
    QString programFile_;
    QString base_;
};
