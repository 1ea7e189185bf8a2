#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

// The start of a target that writes settings files: an application for
// QSettings with its warnings silenced (the log of a hostile file would drown
// the fuzzer's), and a folder for the file, in memory where there is one.
inline std::unique_ptr<QTemporaryDir> StartSettingsFuzz(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const QString shm = QStringLiteral("/dev/shm");
    auto folder = QDir(shm).exists() ? std::make_unique<QTemporaryDir>(shm + QStringLiteral("/veln-fuzz-XXXXXX"))
                                     : std::make_unique<QTemporaryDir>();
    return folder->isValid() ? std::move(folder) : nullptr;
}
