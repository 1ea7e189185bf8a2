#include "member_table.h"

#include "latin1_text.h"
#include "safe_write.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QByteArray field(const QString& value, int width)
{
    QByteArray bytes = NearestLatin1(value).toLatin1().left(width);
    bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

QByteArray sentinelRecord()
{
    return MemberRecord{MemberTable::kSentinel, {}, {}}.encode();
}

// Letters, digits, the portable "/" and the blank the call box lets through.
bool isCallCharacter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('/') || c == QLatin1Char(' ');
}

}  // namespace

QByteArray MemberRecord::encode() const
{
    return field(call, kCallWidth) + field(name, kNameWidth) + field(qth, kQthWidth);
}

MemberRecord MemberRecord::decode(const QByteArray& bytes)
{
    const QByteArray padded = bytes.leftJustified(kSize, ' ', true);
    auto text = [&](int from, int width) { return QString::fromLatin1(padded.mid(from, width)).trimmed(); };
    return {text(0, kCallWidth), text(kCallWidth, kNameWidth), text(kCallWidth + kNameWidth, kQthWidth)};
}

bool MemberRecord::isJunkCall(const QString& call)
{
    for (const QChar c : call)
        if (!isCallCharacter(c))
            return true;
    return false;
}

MembersCounterColour MembersCounterColourFor(int memberCount)
{
    if (memberCount == 950)
        return MembersCounterColour::Yellow;
    if (memberCount == 990)
        return MembersCounterColour::Red;
    return MembersCounterColour::Unchanged;
}

bool MemberTable::LoadMemberTable(const QString& path)
{
    path_ = path;
    loaded_ = false;
    lastError_.clear();
    slots_.fill({});
    endSlot_ = 1;
    memberCount_ = 0;

    QFile file(path);
    if (!file.exists()) {
        const QString folder = QFileInfo(path).absolutePath();
        QString reason;
        if (!MakeFolder(folder, &reason)) {
            lastError_ = QStringLiteral("Cannot make the folder %1 for the member file: %2").arg(folder, reason);
            return false;
        }
        SafeWriter created(path);
        if (!created.open() || !created.write(sentinelRecord()) || !created.commit()) {
            lastError_ = QStringLiteral("Cannot create the member file %1: %2").arg(path, created.reason());
            return false;
        }
    }
    if (!file.open(QIODevice::ReadOnly)) {
        lastError_ = QStringLiteral("Cannot read the member file %1: %2").arg(path, file.errorString());
        return false;
    }
    // Never more than 1000 records are read, whatever the file holds.
    const QByteArray data = file.read(qint64(kSlots) * MemberRecord::kSize);
    file.close();

    const int records = int((data.size() + MemberRecord::kSize - 1) / MemberRecord::kSize);
    const bool cutOff = data.size() % MemberRecord::kSize != 0;
    int n = 1;
    int junk = 0;
    bool sentinelFound = false;
    for (; n <= kSlots && n <= records; ++n) {
        MemberRecord rec = MemberRecord::decode(data.mid(qsizetype(n - 1) * MemberRecord::kSize, MemberRecord::kSize));
        if (rec.call == kSentinel) {
            sentinelFound = true;
            slots_[n] = {kSentinel, {}, {}};
            break;
        }
        // Zero-filled or random stretches and a half-written end record are
        // free slots, never members with calls nobody can type. A call the
        // check-in would refuse is still a member's: its record stays.
        if (!rec.isFree() && MemberRecord::isJunkCall(rec.call)) {
            if (!(cutOff && n == records))
                ++junk;
            rec = {};
        }
        slots_[n] = rec;
    }
    endSlot_ = n;
    loaded_ = true;
    recount();
    junkRecords_ = junk;

    // Said before anything is written to it: the operator may want a copy.
    if (junk > 0 && junk >= memberCount_) {
        lastError_ = QStringLiteral("The member file %1 looks damaged: %2 of its records hold no member and are "
                                    "treated as free slots. Nothing has been written to it yet; keep a copy of it "
                                    "before adding members.")
                         .arg(path)
                         .arg(junk);
        return true;
    }
    if (!sentinelFound && n > kSlots && QFileInfo(path).size() > qint64(kSlots) * MemberRecord::kSize) {
        lastError_ = QStringLiteral("The member file %1 holds more than %2 records; only the first %2 are used.")
                         .arg(path)
                         .arg(kSlots);
    }

    // A file that ends early without a sentinel (an empty or truncated file)
    // gets the sentinel behind its last record, so the file and the table
    // agree again. Nothing already stored is overwritten except the blank
    // padding of a cut-off last record.
    if (!sentinelFound && n <= kSlots) {
        QByteArray tail;
        if (cutOff)
            tail = slots_[n - 1].encode();
        tail += sentinelRecord();
        const int from = tail.size() > MemberRecord::kSize ? n - 1 : n;
        slots_[n] = {kSentinel, {}, {}};
        if (!writeRecords(from, tail))
            lastError_ = QStringLiteral("The member file %1 has no end record and it could not be added: %2")
                             .arg(path, lastError_);
    }
    return true;
}

void MemberTable::recount()
{
    int count = 0;
    for (int i = 1; i < endSlot_ && i <= kSlots; ++i)
        if (!slots_[i].isFree())
            ++count;
    memberCount_ = count;
}

int MemberTable::FindCall(const QString& call) const
{
    const int end = std::min(endSlot_, kSlots + 1);
    for (int i = 1; i < end; ++i)
        if (slots_[size_t(i)].call == call)
            return i;
    return 0;
}

QString MemberTable::call(int slot) const { return record(slot).call; }
QString MemberTable::name(int slot) const { return record(slot).name; }
QString MemberTable::qth(int slot) const { return record(slot).qth; }

MemberRecord MemberTable::record(int slot) const
{
    if (slot < 1 || slot > kSlots)
        return {};
    return slots_[slot];
}

MemberTable::SlotClaim MemberTable::TakeSlotForNew() const
{
    for (int i = 1; i < endSlot_ && i <= kSlots; ++i)
        if (slots_[i].isFree())
            return {i, true};
    // The sentinel moves one slot down; it must stay within the 1000 slots.
    if (endSlot_ < kSlots)
        return {endSlot_, false};
    return {};
}

bool MemberTable::writeRecords(int firstSlot, const QByteArray& bytes)
{
    // The file is small: it is read, patched and replaced whole, so a full
    // disk or a crash leaves the old file as it was, never half a record.
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        lastError_ = QStringLiteral("Cannot write the member file %1: %2").arg(path_, file.errorString());
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        lastError_ = QStringLiteral("Cannot write the member file %1: %2").arg(path_, file.errorString());
        return false;
    }
    file.close();
    const qsizetype at = qsizetype(firstSlot - 1) * MemberRecord::kSize;
    if (data.size() < at)
        data.append(QByteArray(at - data.size(), ' '));
    data.replace(at, std::min(bytes.size(), data.size() - at), bytes);
    SafeWriter out(path_);
    if (!out.open() || !out.write(data) || !out.commit()) {
        lastError_ = QStringLiteral("Cannot write the member file %1: %2").arg(path_, out.reason());
        return false;
    }
    return true;
}

MemberTable::Result MemberTable::AddMember(const MemberRecord& rec, int* slotOut)
{
    if (!loaded_)
        return Result::NotLoaded;
    const MemberRecord stored = rec.stored();
    if (stored.isFree())
        return Result::BadSlot;
    // The whole table is searched, not only the slots before the first gap.
    if (FindCall(stored.call) != 0)
        return Result::CallExists;
    const SlotClaim claim = TakeSlotForNew();
    if (claim.slot == 0)
        return Result::Full;

    if (!claim.reused) {
        // The new sentinel goes first: should the member's write then fail,
        // the old sentinel still ends the data and the file reads as before.
        if (!writeRecords(claim.slot + 1, sentinelRecord()))
            return Result::WriteFailed;
    }
    if (!writeRecords(claim.slot, stored.encode()))
        return Result::WriteFailed;

    slots_[claim.slot] = stored;
    if (!claim.reused) {
        endSlot_ = claim.slot + 1;
        slots_[endSlot_] = {kSentinel, {}, {}};
    }
    ++memberCount_;
    if (slotOut)
        *slotOut = claim.slot;
    return Result::Ok;
}

MemberTable::Result MemberTable::WriteSlot(int slot, const MemberRecord& rec)
{
    if (!loaded_)
        return Result::NotLoaded;
    if (slot < 1 || slot >= endSlot_ || slot > kSlots)
        return Result::BadSlot;
    const MemberRecord stored = rec.stored();
    if (stored.call == kSentinel)
        return Result::BadSlot;
    if (!stored.isFree()) {
        const int other = FindCall(stored.call);
        if (other != 0 && other != slot)
            return Result::CallExists;
    }
    if (!writeRecords(slot, stored.encode()))
        return Result::WriteFailed;
    const bool wasFree = slots_[slot].isFree();
    slots_[slot] = stored;
    if (wasFree != stored.isFree())
        memberCount_ += stored.isFree() ? -1 : 1;
    return Result::Ok;
}

MemberTable::Result MemberTable::BlankSlot(int slot)
{
    return WriteSlot(slot, {});
}

QString MemberTable::resultText(Result r)
{
    switch (r) {
    case Result::Ok: return {};
    case Result::Full: return QStringLiteral("DATABASE FULL");
    case Result::CallExists: return QStringLiteral("CALL ALREADY EXISTS");
    case Result::WriteFailed: return QStringLiteral("THE MEMBER FILE COULD NOT BE WRITTEN");
    case Result::NotLoaded: return QStringLiteral("THE MEMBER FILE IS NOT LOADED");
    case Result::BadSlot: return QStringLiteral("ERROR! RECORD NOT FOUND!");
    }
    return {};
}
