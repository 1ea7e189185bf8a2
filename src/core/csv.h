#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Comma-separated values as spreadsheets exchange them: UTF-8, CR LF line
// ends, a field quoted when it holds a comma, a quote or a line end.
namespace Csv {

QString Field(const QString& text);
// One record with its CR LF.
QByteArray Record(const QStringList& fields);
// Every record of the bytes; nothing when they are no valid UTF-8 or a
// quoted field is left open. LF alone ends a record too.
std::optional<QList<QStringList>> Parse(const QByteArray& bytes);

}  // namespace Csv
