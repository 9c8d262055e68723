#include "store/FileFaults.h"
#include "store/Settings.h"
#include "store/settings/SettingsTestSupport.h"
#include "support/CaseName.h"

#include <algorithm>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Processes writing one settings file at once: each write, and each registry change with the
// reads it depends on, holds the file's lock, so no process loses another's change.
namespace quorvel::store {
namespace {

using testing::TempDir;
using testing::WriteBytes;

constexpr int kWriters = 4;
constexpr int kRounds = 15;

std::string NameOf(int writer, int round) {
    return "w" + std::to_string(writer) + "-" + std::to_string(round);
}

struct WriterCase {
    const char* name;
    // One round of one writer, on its own Settings object; true when it reported success.
    std::function<bool(Settings&, const std::string&)> write;
    // True when the file holds that round's change.
    std::function<bool(const Settings&, const std::string&)> holds;
    friend void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
};

class ConcurrentWriters : public ::testing::TestWithParam<WriterCase> {
protected:
    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
};

TEST_P(ConcurrentWriters, KeepEveryChange) {
    WriteBytes(path, "[配置]\r\n自动保存=1\r\n[文件]\r\n1=/first.txt\r\n");
    std::array<pid_t, kWriters> children{};
    for (int writer = 0; writer < kWriters; ++writer) {
        children[static_cast<std::size_t>(writer)] = ::fork();
        if (children[static_cast<std::size_t>(writer)] == 0) {
            ::alarm(60);
            Settings settings(path);
            bool ok = true;
            for (int round = 0; round < kRounds; ++round) {
                ok = GetParam().write(settings, NameOf(writer, round)) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const Settings settings(path);
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_TRUE(GetParam().holds(settings, NameOf(writer, round))) << NameOf(writer, round);
        }
    }
    EXPECT_EQ(settings.ReadSetting("配置", "自动保存"), "1");
    EXPECT_EQ(EnumerateRegistry(settings).front(), "/first.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ConcurrentWriters,
    ::testing::Values(WriterCase{"WriteSetting",
                                 [](Settings& s, const std::string& name) {
                                     return s.WriteSetting("键", name, "value " + name) ==
                                            ProfileWriteOutcome::Written;
                                 },
                                 [](const Settings& s, const std::string& name) {
                                     return s.ReadSetting("键", name) == "value " + name;
                                 }},
                      WriterCase{"Register",
                                 [](Settings& s, const std::string& name) {
                                     return RegisterDocument(s, "/" + name + ".txt") ==
                                            RegistryOutcome::Done;
                                 },
                                 [](const Settings& s, const std::string& name) {
                                     const std::vector<Text> entries = EnumerateRegistry(s);
                                     return std::count(entries.begin(), entries.end(),
                                                       "/" + name + ".txt") == 1;
                                 }}),
    quorvel::testing::CaseName());

// Another writer holding the lock for too long makes a write fail and leaves the file.
TEST(SettingsLock, HeldLockMakesWritesFail) {
    const TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    const std::string before = "[文件]\r\n1=/a.txt\r\n";
    WriteBytes(path, before);
    faults::SetLockTimeout(std::chrono::milliseconds(100));
    {
        FileLock held(path, LinkRule::FollowLinks);
        ASSERT_EQ(held.outcome(), IoOutcome::Done);
        Settings settings(path);
        EXPECT_EQ(settings.WriteSetting("配置", "自动保存", "0"), ProfileWriteOutcome::WriteFailed);
        EXPECT_EQ(RegisterDocument(settings, "/b.txt"), RegistryOutcome::WriteFailed);
        EXPECT_EQ(RenameRegisteredDocument(settings, "/a.txt", "/c.txt"),
                  RegistryOutcome::WriteFailed);
        EXPECT_EQ(testing::ReadBytes(path), before);
    }
    faults::Reset();
    Settings settings(path);
    EXPECT_EQ(RegisterDocument(settings, "/b.txt"), RegistryOutcome::Done);
}

} // namespace
} // namespace quorvel::store
