// Feeds arbitrary bytes to LoadMemberTable as the member file. Besides memory
// errors and undefined behaviour it stops when a loaded table does not come
// back the same after its records are written out and read again, or when a
// slot holds a "member" whose call cannot be text (control bytes, characters
// no call holds).

#include "core/member_table.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> folder;

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

void fail(const char* what, int slot)
{
    std::fprintf(stderr, "%s (slot %d)\n", what, slot);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // Memory-backed where the system has it: the target writes a file per input.
    const QString shm = QStringLiteral("/dev/shm");
    folder = QDir(shm).exists() ? std::make_unique<QTemporaryDir>(shm + QStringLiteral("/veln-fuzz-XXXXXX"))
                                : std::make_unique<QTemporaryDir>();
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString first = folder->filePath(QStringLiteral("first.dat"));
    const QString second = folder->filePath(QStringLiteral("second.dat"));
    put(first, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    MemberTable t;
    if (!t.LoadMemberTable(first))
        fail("an existing file did not load", 0);
    const int end = t.EndSlot();
    if (end < 1 || end > MemberTable::kSlots + 1)
        fail("end slot out of range", end);

    QByteArray out;
    int members = 0;
    for (int slot = 1; slot < end; ++slot) {
        const MemberRecord r = t.record(slot);
        if (!r.isFree()) {
            ++members;
            if (MemberRecord::isJunkCall(r.call))
                fail("a member whose call cannot be text", slot);
            if (r.call == MemberTable::kSentinel)
                fail("the end record counted as a member", slot);
        }
        if (r.stored() != r)
            fail("a record changes on its way through the file", slot);
        out += r.encode();
    }
    if (members != t.memberCount())
        fail("member count differs from the members", members);
    if (end <= MemberTable::kSlots)
        out += MemberRecord{MemberTable::kSentinel, {}, {}}.encode();

    put(second, out);
    MemberTable back;
    if (!back.LoadMemberTable(second))
        fail("the written table did not load", 0);
    if (back.EndSlot() != end || back.memberCount() != t.memberCount())
        fail("the written table has another size", back.EndSlot());
    for (int slot = 1; slot < end; ++slot)
        if (back.record(slot) != t.record(slot))
            fail("read, write, read differs", slot);
    return 0;
}
