#pragma once

#include <QString>
#include <optional>

// A seat without a window (a club's server): follows the net shared at
// address and serves its roster as a web page on port, until stopped.
// Returns the program's exit code.
int RunWebFollower(int argc, char* argv[], const QString& address, quint16 port, const QString& passwordFile,
                   const QString& caFile);

// The first line of a password file; nothing (with *error) when it cannot
// be read. Only a small file is read.
std::optional<QString> ReadPasswordFile(const QString& path, QString* error);
