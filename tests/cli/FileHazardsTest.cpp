#include "Subprocess.h"
#include "store/FileIo.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

// Files that are not what a command expects: loops of links, files without a write bit, FIFOs,
// links planted where a backup goes, a file another writer holds, a disk that fills mid-append.
// Each is refused at once with status 3 and a message naming the file, or, for planted links,
// the link is replaced and what it points at is left alone.
namespace quorvel::testing {
namespace {

const std::string kDoc = "[#a]\r\nalpha\r\n[#b]\r\nbeta";
const std::string kVictim = "another user's private file";

struct HazardCase {
    std::string name{};
    std::function<void(const TempDir&)> setUp{}; // after doc.txt and victim.txt are written
    std::vector<std::string> arguments{};        // "{D}" stands for the directory
    int status = 3;
    std::string errHas{};                         // a part of standard error
    std::optional<unsigned long> fileSizeLimit{}; // a full disk
    std::string input = "text";
};

std::string Expand(std::string text, const std::string& directory) {
    const std::size_t at = text.find("{D}");
    return at == std::string::npos ? text : text.replace(at, 3, directory);
}

class Hazard : public ::testing::TestWithParam<HazardCase> {};

TEST_P(Hazard, IsRefusedOrDefused) {
    const HazardCase& c = GetParam();
    const TempDir dir;
    WriteBytes(dir.File("doc.txt"), kDoc);
    WriteBytes(dir.File("victim.txt"), kVictim);
    c.setUp(dir);
    // Run under a time limit: a command that blocks counts as a failure, not a hang.
    std::vector<std::string> arguments = {"10", QUORVEL_NOTES_PATH};
    for (const std::string& argument : c.arguments) {
        arguments.push_back(Expand(argument, dir.path()));
    }
    ProcessOptions options;
    options.input = c.input;
    options.environment = {{"LC_ALL", "C.UTF-8"}, {"QUORVEL_CODEPAGE", std::nullopt}};
    options.fileSizeLimit = c.fileSizeLimit;
    const ProcessResult result = RunProcess("/usr/bin/timeout", arguments, options);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(Expand(c.errHas, dir.path())), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(dir.File("doc.txt")), kDoc);
    EXPECT_EQ(ReadBytes(dir.File("victim.txt")), kVictim);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

void MakeLoop(const TempDir& dir) {
    std::filesystem::create_symlink("loop2", dir.File("loop1"));
    std::filesystem::create_symlink("loop1", dir.File("loop2"));
}

void MakeReadOnly(const TempDir& dir) {
    std::filesystem::permissions(dir.File("doc.txt"), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::group_read |
                                                          std::filesystem::perms::others_read);
}

void MakeFifo(const std::string& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
}

const std::string kLoopMessage = "{D}/loop1: too many levels of symbolic links";

INSTANTIATE_TEST_SUITE_P(
    Files, Hazard,
    ::testing::Values(HazardCase{.name = "save_through_a_loop_of_links",
                                 .setUp = MakeLoop,
                                 .arguments = {"save", "{D}/loop1", "a"},
                                 .errHas = kLoopMessage},
                      HazardCase{.name = "new_through_a_loop_of_links",
                                 .setUp = MakeLoop,
                                 .arguments = {"new", "{D}/loop1", "a"},
                                 .errHas = kLoopMessage},
                      HazardCase{.name = "labels_through_a_loop_of_links",
                                 .setUp = MakeLoop,
                                 .arguments = {"labels", "{D}/loop1"},
                                 .errHas = kLoopMessage},
                      HazardCase{.name = "save_to_a_file_without_write_bits",
                                 .setUp = MakeReadOnly,
                                 .arguments = {"save", "{D}/doc.txt", "a"},
                                 .errHas = "cannot write: {D}/doc.txt: read-only file"},
                      HazardCase{.name = "delete_in_a_file_without_write_bits",
                                 .setUp = MakeReadOnly,
                                 .arguments = {"delete", "{D}/doc.txt", "a"},
                                 .errHas = "cannot write: {D}/doc.txt: read-only file"},
                      HazardCase{.name = "manual_backup_of_a_fifo",
                                 .setUp = [](const TempDir& d) { MakeFifo(d.File("pipe.txt")); },
                                 .arguments = {"backup", "--manual", "{D}/pipe.txt"},
                                 .errHas = "备份失败"},
                      HazardCase{
                          .name = "restore_from_a_fifo",
                          .setUp = [](const TempDir& d) { MakeFifo(d.File("手备_doc.txt")); },
                          .arguments = {"restore", "--manual", "{D}/doc.txt"},
                          .errHas = "还原失败"},
                      HazardCase{.name = "save_of_a_new_label_on_a_full_disk",
                                 .setUp = [](const TempDir&) {},
                                 .arguments = {"save", "{D}/doc.txt", "new"},
                                 .errHas = "cannot write: {D}/doc.txt",
                                 .fileSizeLimit = kDoc.size() + 100,
                                 .input = std::string(1000, 'n')},
                      HazardCase{.name = "backup_over_a_planted_link",
                                 .setUp =
                                     [](const TempDir& d) {
                                         std::filesystem::create_symlink("victim.txt",
                                                                         d.File("备_doc.txt"));
                                     },
                                 .arguments = {"backup", "{D}/doc.txt"},
                                 .status = 0},
                      HazardCase{.name = "manual_backup_over_a_planted_link",
                                 .setUp =
                                     [](const TempDir& d) {
                                         std::filesystem::create_symlink(d.File("victim.txt"),
                                                                         d.File("手备_doc.txt"));
                                     },
                                 .arguments = {"backup", "--manual", "{D}/doc.txt"},
                                 .status = 0}),
    [](const ::testing::TestParamInfo<HazardCase>& param) { return param.param.name; });

// The backups that replaced planted links are regular files holding the document.
TEST(HazardBackup, ReplacesThePlantedLinkWithACopy) {
    const TempDir dir;
    WriteBytes(dir.File("doc.txt"), kDoc);
    WriteBytes(dir.File("victim.txt"), kVictim);
    std::filesystem::create_symlink("victim.txt", dir.File("备_doc.txt"));
    const ProcessResult result = RunProcess(QUORVEL_NOTES_PATH, {"backup", dir.File("doc.txt")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(std::filesystem::is_symlink(dir.File("备_doc.txt")));
    EXPECT_EQ(ReadBytes(dir.File("备_doc.txt")), kDoc);
    EXPECT_EQ(ReadBytes(dir.File("victim.txt")), kVictim);
}

// A save waits for the writer holding the document, then gives up with status 3.
TEST(HazardLock, SaveWhileAnotherWriterHoldsTheFile) {
    const TempDir dir;
    const std::string document = dir.File("doc.txt");
    WriteBytes(document, kDoc);
    const store::FileLock held(document, store::LinkRule::FollowLinks);
    ASSERT_EQ(held.outcome(), store::IoOutcome::Done);
    ProcessOptions options;
    options.input = "text";
    const ProcessResult result = RunProcess(QUORVEL_NOTES_PATH, {"save", document, "a"}, options);
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("cannot write: " + document + ": another program is writing it"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadBytes(document), kDoc);
}

} // namespace
} // namespace quorvel::testing
