#pragma once

#include <QString>
#include <QByteArray>
#include <array>

// One 46-byte record of the member file: call 6, name 15, QTH 25 characters,
// blank-padded, Latin-1 (a letter Latin-1 lacks is stored as the nearest one).
struct MemberRecord {
    static constexpr int kCallWidth = 6;
    static constexpr int kNameWidth = 15;
    static constexpr int kQthWidth = 25;
    static constexpr int kSize = kCallWidth + kNameWidth + kQthWidth;

    QString call;
    QString name;
    QString qth;

    bool isFree() const { return call.isEmpty(); }
    // A record that cannot be text: its call holds a NUL or control byte, or
    // a character no call holds. Any other call is a member's, even one the
    // check-in would refuse (VE3ABC, N0CALL, calls typed by hand).
    static bool isJunkCall(const QString& call);
    // The record as stored: each field cut to its width and blank-padded.
    QByteArray encode() const;
    // A stored record, each field trimmed. Short input reads as blanks.
    static MemberRecord decode(const QByteArray& bytes);
    // The record as the table holds it after a round trip through the file.
    MemberRecord stored() const { return decode(encode()); }
    bool operator==(const MemberRecord&) const = default;
};

// Colour of the members counter; only the exact counts are warned about.
enum class MembersCounterColour { Unchanged, Yellow, Red };
MembersCounterColour MembersCounterColourFor(int memberCount);

// The in-memory mirror of the member file: slots 1..1000, the end sentinel at
// EndSlot(). Every change goes to the file first and reaches the table only
// when the write succeeded, so the two never disagree.
class MemberTable {
public:
    static constexpr int kSlots = 1000;
    static inline const QString kSentinel = QStringLiteral("**EOF*");

    MemberTable() = default;

    // Fills the table from the file. A missing file (and its folders) is
    // created holding only the sentinel. Returns false when the file cannot be
    // created or read; lastError() says why. Records that cannot be text
    // are free slots; when they outnumber the members, the file is left
    // unwritten and lastError() warns, naming the file.
    bool LoadMemberTable(const QString& path);

    bool isLoaded() const { return loaded_; }
    QString path() const { return path_; }
    QString lastError() const { return lastError_; }
    // Records below the end that were neither blank nor text at loading.
    int junkRecords() const { return junkRecords_; }

    // Slot of the sentinel; 1 for an empty database, 1001 when the file had
    // no sentinel in its first 1000 records.
    int EndSlot() const { return endSlot_; }
    // First slot below EndSlot whose call equals call exactly; 0 when none.
    int FindCall(const QString& call) const;

    QString call(int slot) const;
    QString name(int slot) const;
    QString qth(int slot) const;
    MemberRecord record(int slot) const;
    // Slot 1..1000 without a copy, for scans over the whole table.
    const MemberRecord& at(int slot) const { return slots_[size_t(slot)]; }
    int memberCount() const { return memberCount_; }
    bool isMemberSlot(int slot) const { return slot >= 1 && slot < endSlot_ && slot <= kSlots && !slots_[slot].isFree(); }

    struct SlotClaim {
        int slot = 0;         // 0: the table is full
        bool reused = false;  // a free slot below the sentinel
    };
    // Where the next new member goes: the first free slot below the sentinel,
    // else the sentinel's slot (the sentinel then moves one down).
    SlotClaim TakeSlotForNew() const;

    enum class Result { Ok, Full, CallExists, WriteFailed, NotLoaded, BadSlot };

    // Adds a member at TakeSlotForNew's slot, moving the sentinel when needed.
    // Refuses a call that any slot already holds.
    Result AddMember(const MemberRecord& rec, int* slotOut = nullptr);
    // Writes rec (cut to the field widths) as slot n, a member slot or a free one
    // below the sentinel.
    Result WriteSlot(int slot, const MemberRecord& rec);
    // Frees slot n: three empty texts, the record all blanks.
    Result BlankSlot(int slot);

    static QString resultText(Result r);

private:
    bool writeRecords(int firstSlot, const QByteArray& bytes);
    void recount();

    std::array<MemberRecord, kSlots + 1> slots_{};  // index 0 unused
    int endSlot_ = 1;
    int memberCount_ = 0;
    int junkRecords_ = 0;
    bool loaded_ = false;
    QString path_;
    QString lastError_;
};
