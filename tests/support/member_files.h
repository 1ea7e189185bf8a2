#pragma once

#include "core/member_table.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes a member file: the records as given, then (unless withSentinel is
// false) the end record.
QByteArray memberFileBytes(const QList<MemberRecord>& records, bool withSentinel = true);
void writeMemberFile(const QString& path, const QList<MemberRecord>& records, bool withSentinel = true);
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// Writes the members (and the end record) and loads them into a table.
MemberTable loadMembers(const QString& path, const QList<MemberRecord>& records);
// n members with distinct calls of the form <prefix><digit><suffix>.
QList<MemberRecord> manyMembers(int n);
