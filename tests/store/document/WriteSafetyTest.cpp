#include "DocumentTestSupport.h"
#include "store/FileFaults.h"

#include <array>
#include <csignal>
#include <cstring>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>

// What a write promises beyond its content: concurrent writers keep each other's changes, a
// failing call at any step leaves the old file, killed writers' leftovers are cleared, extended
// attributes survive, and links that loop or files without a write bit are refused.
namespace quorvel::testing {
namespace {

using store::DeleteOutcome;
using store::RenameOutcome;
using store::SaveMode;
using store::SaveOutcome;
namespace faults = store::faults;

// Disarms the seam whatever the test did.
class WriteSafety : public DocumentTest {
protected:
    ~WriteSafety() override { faults::Reset(); }
};

constexpr int kWriters = 4;
constexpr int kRoundsPerWriter = 12;

std::string LabelOf(int writer, int round) {
    return "w" + std::to_string(writer) + "-" + std::to_string(round);
}

// The last section of the file keeps the break that ends the file.
std::string WithoutFinalBreak(std::string text) {
    if (text.ends_with("\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

// Each writer adds labels of its own and rewrites its own section over and over; with the lock
// every one of those changes is in the file afterwards.
TEST_F(WriteSafety, ConcurrentWritersKeepEveryChange) {
    Seed("[#start]\r\n" + std::string(200'000, 's') + "\r\n");
    std::array<pid_t, kWriters> children{};
    for (int writer = 0; writer < kWriters; ++writer) {
        children[static_cast<std::size_t>(writer)] = ::fork();
        if (children[static_cast<std::size_t>(writer)] == 0) {
            ::alarm(60);
            bool ok = true;
            const Text own = "own" + std::to_string(writer);
            for (int round = 0; round < kRoundsPerWriter; ++round) {
                ok = ok &&
                     store::SaveSection(path_, LabelOf(writer, round), SaveMode::Save,
                                        "text " + LabelOf(writer, round)) == SaveOutcome::Appended;
                ok = ok && store::IsAdded(store::SaveSection(path_, own, SaveMode::Save,
                                                             "round " + std::to_string(round))) ==
                               (round == 0);
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int round = 0; round < kRoundsPerWriter; ++round) {
            const store::SectionRead read = store::ReadSection(path_, LabelOf(writer, round));
            EXPECT_TRUE(read.found) << LabelOf(writer, round);
            EXPECT_EQ(WithoutFinalBreak(read.text), "text " + LabelOf(writer, round));
        }
        EXPECT_EQ(WithoutFinalBreak(store::ReadSection(path_, "own" + std::to_string(writer)).text),
                  "round " + std::to_string(kRoundsPerWriter - 1));
    }
    EXPECT_EQ(store::ListLabels(path_).size(), 1u + kWriters * (kRoundsPerWriter + 1));
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

// A lock held elsewhere makes every change wait and then fail, the file untouched. The lock moves
// with the path when its holder renames the new file over it, so it stays held.
TEST_F(WriteSafety, HeldLockMakesWritersWaitAndFail) {
    const std::string old = "[#a]\r\none";
    Seed(old);
    faults::SetLockTimeout(std::chrono::milliseconds(100));
    for (const store::Path& path : {path_, dir_.File("new.txt")}) {
        SCOPED_TRACE(path);
        store::FileLock held(path, store::LinkRule::FollowLinks);
        ASSERT_EQ(held.outcome(), store::IoOutcome::Done);
        EXPECT_EQ(store::SaveSection(path, "b", SaveMode::Save, "x"), SaveOutcome::WriteFailed);
        ASSERT_EQ(store::WriteFileAtomic(held, {old}), store::IoOutcome::Done);
        EXPECT_EQ(store::SaveSection(path, "a", SaveMode::Save, "x"), SaveOutcome::WriteFailed);
        EXPECT_EQ(store::RenameLabel(path, "a", "b"), RenameOutcome::WriteFailed);
        EXPECT_EQ(store::DeleteSection(path, "a"), DeleteOutcome::WriteFailed);
        EXPECT_EQ(ReadBytes(path), old);
    }
    // Released, the lock lets the next writer through; no lock file stays behind.
    EXPECT_EQ(store::SaveSection(path_, "b", SaveMode::Save, "x"), SaveOutcome::Appended);
    EXPECT_EQ(DirectoryEntries().size(), 2u);
}

struct FaultCase {
    const char* name;
    faults::Call call;
    int nth;
    std::function<bool(const store::Path&)> fails; // true when the outcome is a write failure
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
};

const std::string kBefore = "[#a]\r\n" + std::string(70'000, 'a') + "\r\n[#b]\r\nbee";

std::function<bool(const store::Path&)> Saves(Text label) {
    return [=](const store::Path& p) {
        return store::SaveSection(p, label, SaveMode::Save, std::string(90'000, 'n')) ==
               SaveOutcome::WriteFailed;
    };
}
bool Renames(const store::Path& p) {
    return store::RenameLabel(p, "a", "renamed") == RenameOutcome::WriteFailed;
}
bool Deletes(const store::Path& p) {
    return store::DeleteSection(p, "a") == DeleteOutcome::WriteFailed;
}

const FaultCase kFaults[] = {
    {"ReplaceFirstWrite", faults::Call::Write, 1, Saves("a")},
    {"ReplaceLaterWrite", faults::Call::Write, 3, Saves("a")},
    {"ReplaceFsync", faults::Call::Fsync, 1, Saves("a")},
    {"ReplaceRename", faults::Call::Rename, 1, Saves("a")},
    {"AppendCopyOfTheHead", faults::Call::Write, 1, Saves("new")},
    {"AppendNewBytes", faults::Call::Write, 2, Saves("new")},
    {"AppendFsync", faults::Call::Fsync, 1, Saves("new")},
    {"AppendRename", faults::Call::Rename, 1, Saves("new")},
    {"RenameWrite", faults::Call::Write, 2, Renames},
    {"RenameRename", faults::Call::Rename, 1, Renames},
    {"DeleteFsync", faults::Call::Fsync, 1, Deletes},
};

class FailingCall : public WriteSafety, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FailingCall, LeavesTheOldFileAndNoTemporaryFile) {
    Seed(kBefore);
    faults::FailAt(GetParam().call, GetParam().nth);
    EXPECT_TRUE(GetParam().fails(path_));
    EXPECT_EQ(Bytes(), kBefore);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingCall, ::testing::ValuesIn(kFaults), CaseName());

// With the folder not writable the file is rewritten in place. A failure before the new bytes
// are all there leaves the old file: the room is reserved first, and an append that fails is cut
// back. Root writes into any folder, so a root run does this as the unprivileged user.
class InPlace : public WriteSafety {
protected:
    static constexpr uid_t kNobody = 65534;

    // Runs the change in a child that cannot write the folder; the file keeps its inode.
    int RunInPlace(const std::function<int()>& change) {
        Seed(kBefore);
        const bool asRoot = ::geteuid() == 0;
        if (asRoot && ::chown(path_.c_str(), kNobody, kNobody) != 0) {
            return 254;
        }
        struct stat before {};
        ::stat(path_.c_str(), &before);
        ::chmod(dir_.path().c_str(), 0555);
        const int code = ExitCodeOfChild([&] {
            if (asRoot && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
                return 255;
            }
            return change();
        });
        ::chmod(dir_.path().c_str(), 0755);
        struct stat after {};
        ::stat(path_.c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
        return code;
    }
};

class InPlaceFault : public InPlace, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(InPlaceFault, FailureLeavesTheOldFile) {
    const int code = RunInPlace([&] {
        faults::FailAt(GetParam().call, GetParam().nth);
        if (!GetParam().fails(path_)) {
            return 1;
        }
        if (ReadBytes(path_) != kBefore) {
            return 2;
        }
        faults::Reset();
        // The same change without a fault goes through in place.
        return GetParam().fails(path_) ? 3 : 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_NE(Bytes(), kBefore);
}

// A full disk shows as the file size limit here: the write is refused before a byte changes.
TEST_F(InPlace, FullDiskLeavesTheOldFile) {
    const int code = RunInPlace([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = kBefore.size() + 1000;
        const rlimit fileSize{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
            return 4;
        }
        return Saves("a")(path_) && Saves("new")(path_) ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Bytes(), kBefore);
}

TEST_F(InPlace, ChangesOnlyWhatDiffersAndCutsTheRest) {
    const int code = RunInPlace([&] {
        const bool ok =
            store::DeleteSection(path_, "a") == DeleteOutcome::Deleted &&
            store::SaveSection(path_, "c", SaveMode::Save, "sea") == SaveOutcome::Appended &&
            store::SaveSection(path_, "b", SaveMode::Save, "B") == SaveOutcome::Replaced;
        return ok ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Bytes(), "[#b]\r\nB\r\n[#c]\r\nsea\r\n");
}

const FaultCase kInPlaceFaults[] = {
    {"ReplaceReservation", faults::Call::Fallocate, 1, Saves("a")},
    {"AppendReservation", faults::Call::Fallocate, 1, Saves("new")},
    {"AppendWrite", faults::Call::Write, 1, Saves("new")},
    {"RenameReservation", faults::Call::Fallocate, 1, Renames},
};

INSTANTIATE_TEST_SUITE_P(Steps, InPlaceFault, ::testing::ValuesIn(kInPlaceFaults), CaseName());

// A killed writer leaves its temporary file; the next writer of the same document removes it,
// and nothing else: not another document's, not a name that only looks alike, not a directory
// or a link.
TEST_F(WriteSafety, WriterRemovesOnlyItsOwnDocumentsLeftovers) {
    Seed("[#a]\r\none");
    const std::vector<std::string> stale = {".notes.txt.AbC123", ".notes.txt.zzzzzz"};
    const std::vector<std::string> kept = {".other.txt.AbC123",  ".notes.txt.AbC12",
                                           ".notes.txt.AbC1234", "notes.txt.AbC123",
                                           ".notes.txt.Dir123",  ".notes.txt.Lnk123"};
    for (const std::string& name : stale) {
        WriteBytes(dir_.File(name), "left by a killed write");
    }
    for (const std::string& name : kept) {
        WriteBytes(dir_.File(name), "someone else's");
    }
    std::filesystem::remove(dir_.File(".notes.txt.Dir123"));
    std::filesystem::create_directory(dir_.File(".notes.txt.Dir123"));
    std::filesystem::remove(dir_.File(".notes.txt.Lnk123"));
    std::filesystem::create_symlink(".other.txt.AbC123", dir_.File(".notes.txt.Lnk123"));

    EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "two"), SaveOutcome::Replaced);
    for (const std::string& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(dir_.File(name))) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(dir_.File(name))))
            << name;
    }
    // The window clears them at start-up through the same call, without writing.
    WriteBytes(dir_.File(stale[0]), "left again");
    store::RemoveStaleTemporaries(path_);
    EXPECT_FALSE(std::filesystem::exists(dir_.File(stale[0])));
    EXPECT_EQ(Bytes(), "[#a]\r\ntwo");
}

// An ACL entry as the kernel stores it: tag, permissions, id.
void AppendAclEntry(std::string& acl, std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
    const std::array<unsigned char, 8> bytes = {
        static_cast<unsigned char>(tag),      static_cast<unsigned char>(tag >> 8),
        static_cast<unsigned char>(perm),     static_cast<unsigned char>(perm >> 8),
        static_cast<unsigned char>(id),       static_cast<unsigned char>(id >> 8),
        static_cast<unsigned char>(id >> 16), static_cast<unsigned char>(id >> 24)};
    acl.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// user::rw- user:65534:rw- group::r-- mask::rw- other::---
std::string AclGrantingNobody() {
    std::string acl("\x02\0\0\0", 4);
    AppendAclEntry(acl, 0x01, 6, 0xFFFFFFFF);
    AppendAclEntry(acl, 0x02, 6, 65534);
    AppendAclEntry(acl, 0x04, 4, 0xFFFFFFFF);
    AppendAclEntry(acl, 0x10, 6, 0xFFFFFFFF);
    AppendAclEntry(acl, 0x20, 0, 0xFFFFFFFF);
    return acl;
}

std::optional<std::string> Attribute(const std::string& path, const char* name) {
    std::array<char, 256> value{};
    const ssize_t got = ::getxattr(path.c_str(), name, value.data(), value.size());
    return got < 0 ? std::nullopt : std::optional<std::string>(std::string(value.data(), got));
}

struct AttributeCase {
    const char* name;
    const char* attribute;
    std::string value;
    friend void PrintTo(const AttributeCase& c, std::ostream* os) { *os << c.name; }
};

class ExtendedAttributes : public WriteSafety,
                           public ::testing::WithParamInterface<AttributeCase> {};

TEST_P(ExtendedAttributes, SurviveEveryKindOfRewrite) {
    const AttributeCase& c = GetParam();
    Seed("[#a]\r\none");
    if (::setxattr(path_.c_str(), c.attribute, c.value.data(), c.value.size(), 0) != 0) {
        GTEST_SKIP() << "the file system of " << path_ << " does not take " << c.attribute << ": "
                     << std::strerror(errno);
    }
    EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "two"), SaveOutcome::Replaced);
    EXPECT_EQ(Attribute(path_, c.attribute), c.value);
    EXPECT_EQ(store::SaveSection(path_, "b", SaveMode::Save, "new"), SaveOutcome::Appended);
    EXPECT_EQ(store::RenameLabel(path_, "b", "c"), RenameOutcome::Renamed);
    EXPECT_EQ(store::DeleteSection(path_, "c"), DeleteOutcome::Deleted);
    EXPECT_EQ(Attribute(path_, c.attribute), c.value);
    EXPECT_EQ(Bytes(), "[#a]\r\ntwo\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ExtendedAttributes,
    ::testing::Values(AttributeCase{"UserAttribute", "user.quorvel.tag", "kept"},
                      AttributeCase{"AccessAcl", "system.posix_acl_access", AclGrantingNobody()}),
    CaseName());

TEST_F(WriteSafety, LoopOfLinksIsRefusedAndStaysALoop) {
    const std::string first = dir_.File("loop1");
    const std::string second = dir_.File("loop2");
    ASSERT_EQ(::symlink("loop2", first.c_str()), 0);
    ASSERT_EQ(::symlink("loop1", second.c_str()), 0);
    EXPECT_EQ(store::SaveSection(first, "a", SaveMode::Save, "t"), SaveOutcome::WriteFailed);
    EXPECT_EQ(store::SaveSection(first, "a", SaveMode::Create, ""), SaveOutcome::WriteFailed);
    EXPECT_EQ(store::RenameLabel(first, "a", "b"), RenameOutcome::NotFound);
    EXPECT_EQ(store::DeleteSection(first, "a"), DeleteOutcome::NotFound);
    EXPECT_EQ(store::DiagnoseWriteFailure(first), store::WriteProblem::LinkLoop);
    EXPECT_EQ(std::filesystem::read_symlink(first), "loop2");
    EXPECT_EQ(std::filesystem::read_symlink(second), "loop1");
    EXPECT_EQ(DirectoryEntries().size(), 2u);
}

// Root passes every permission check; a file without any write bit is still refused.
TEST_F(WriteSafety, FileWithoutWriteBitsIsRefusedForEveryone) {
    const std::string old = "[#a]\r\none";
    Seed(old);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "two"), SaveOutcome::WriteFailed);
    EXPECT_EQ(store::SaveSection(path_, "b", SaveMode::Save, "two"), SaveOutcome::WriteFailed);
    EXPECT_EQ(store::RenameLabel(path_, "a", "b"), RenameOutcome::WriteFailed);
    EXPECT_EQ(store::DeleteSection(path_, "a"), DeleteOutcome::WriteFailed);
    EXPECT_EQ(store::DiagnoseWriteFailure(path_), store::WriteProblem::ReadOnly);
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

// The reason a window's save failure reports: the system's error number for it.
TEST_F(WriteSafety, FolderThatWentAwayIsDiagnosed) {
    const std::string gone = dir_.File("gone/notes.txt");
    EXPECT_EQ(store::SaveSection(gone, "a", SaveMode::Save, "t"), SaveOutcome::WriteFailed);
    EXPECT_EQ(store::DiagnoseWriteFailure(gone), store::WriteProblem::FolderMissing);
    EXPECT_EQ(store::ErrorNumberOf(store::WriteProblem::FolderMissing), ENOENT);
    EXPECT_EQ(store::DiagnoseWriteFailure(path_), store::WriteProblem::Unknown);
    EXPECT_EQ(store::ErrorNumberOf(store::WriteProblem::Unknown), 0);
}

} // namespace
} // namespace quorvel::testing
