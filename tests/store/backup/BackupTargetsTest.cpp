#include "store/Backup.h"
#include "support/CaseName.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// What a backup, a restore or a copy writes to: never the file behind a symbolic link planted
// at the target, and never a FIFO that would hang the read.
namespace quorvel::store {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string kDocument = "[#a]\r\nthe document";
const std::string kVictim = "someone's private file";

struct LinkedTargetCase {
    const char* name;
    std::string linkName;                           // made as a link to the victim file
    std::function<bool(const Path& document)> copy; // true when the copy reported success
    std::string linkContentAfter;                   // the regular file that replaced the link
    friend void PrintTo(const LinkedTargetCase& c, std::ostream* os) { *os << c.name; }
};

class LinkedTarget : public ::testing::TestWithParam<LinkedTargetCase> {};

TEST_P(LinkedTarget, ReplacesTheLinkAndLeavesItsTarget) {
    const LinkedTargetCase& c = GetParam();
    const TempDir dir;
    const Path document = dir.File("notes.txt");
    const Path victim = dir.File("victim.txt");
    const Path link = dir.File(c.linkName);
    WriteBytes(document, kDocument);
    WriteBytes(victim, kVictim);
    WriteBytes(dir.File("备_notes.txt"), "the startup backup");
    if (c.linkName == "notes.txt") {
        std::filesystem::remove(document);
    }
    std::filesystem::remove(link);
    ASSERT_EQ(::symlink("victim.txt", link.c_str()), 0);

    EXPECT_TRUE(c.copy(document));
    EXPECT_EQ(ReadBytes(victim), kVictim);
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(ReadBytes(link), c.linkContentAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, LinkedTarget,
    ::testing::Values(
        LinkedTargetCase{"StartupBackup", "备_notes.txt",
                         [](const Path& d) { return StartupBackup(d) == BackupOutcome::Made; },
                         kDocument},
        LinkedTargetCase{"ManualBackup", "手备_notes.txt",
                         [](const Path& d) { return ManualBackupCopy(d) == BackupOutcome::Made; },
                         kDocument},
        LinkedTargetCase{"Restore", "notes.txt",
                         [](const Path& d) {
                             return RestoreBackupCopy(d, kStartupBackupPrefix) ==
                                    RestoreOutcome::Restored;
                         },
                         "the startup backup"},
        LinkedTargetCase{"Copy", "copy.txt",
                         [](const Path& d) {
                             return CopyFileAtomic(d, SplitPath(d).directory + "copy.txt") ==
                                    IoOutcome::Done;
                         },
                         kDocument}),
    quorvel::testing::CaseName());

// Runs body in a child with an alarm, so that a hang fails the test instead of stopping it.
int ExitCodeOfChild(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(BackupOfFifo, IsRefusedWithoutBlocking) {
    const TempDir dir;
    const Path fifo = dir.File("notes.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ExitCodeOfChild([&] { return ManualBackupCopy(fifo) == BackupOutcome::CopyFailed; }),
              0);
    EXPECT_FALSE(std::filesystem::exists(BackupPath(fifo, kManualBackupPrefix)));
}

TEST(RestoreFromFifo, IsRefusedWithoutBlocking) {
    const TempDir dir;
    const Path document = dir.File("notes.txt");
    WriteBytes(document, kDocument);
    const Path backup = BackupPath(document, kManualBackupPrefix);
    ASSERT_EQ(::mkfifo(backup.c_str(), 0600), 0);
    EXPECT_EQ(ExitCodeOfChild([&] {
                  return RestoreBackupCopy(document, kManualBackupPrefix) ==
                         RestoreOutcome::CopyFailed;
              }),
              0);
    EXPECT_EQ(ReadBytes(document), kDocument);
}

} // namespace
} // namespace quorvel::store
