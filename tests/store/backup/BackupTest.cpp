#include "store/Backup.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "support/TempDir.h"
#include "text/CodePage.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel::store {
namespace {

using testing::CaseName;
using testing::CodePageScope;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// "备_" and "手备_" as code page 936 bytes.
constexpr std::string_view kGbkStartupPrefix = "\xB1\xB8_";
constexpr std::string_view kGbkManualPrefix = "\xCA\xD6\xB1\xB8_";

// Runs in another working directory for one test.
class WorkingDirectoryScope {
public:
    explicit WorkingDirectoryScope(const std::string& directory)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    WorkingDirectoryScope(const WorkingDirectoryScope&) = delete;
    WorkingDirectoryScope& operator=(const WorkingDirectoryScope&) = delete;
    ~WorkingDirectoryScope() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

using Names = std::set<std::string>;

Names NamesIn(const std::string& directory) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct SplitCase {
    const char* name;
    CodePage codePage;
    std::string path;
    std::string directory;
    std::string fileName;
};

class SplitPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTest, SplitsAtTheLastSlashThatIsACharacter) {
    const SplitCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    const SplitPathResult parts = SplitPath(c.path);
    EXPECT_EQ(parts.directory, c.directory);
    EXPECT_EQ(parts.fileName, c.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitPathTest,
    ::testing::Values(
        SplitCase{"AbsolutePath", CodePage::Utf8, "/home/me/notes/work.txt", "/home/me/notes/",
                  "work.txt"},
        SplitCase{"FileNameOnly", CodePage::Utf8, "work.txt", "", "work.txt"},
        SplitCase{"FileInRoot", CodePage::Utf8, "/work.txt", "/", "work.txt"},
        SplitCase{"DirectoryOnly", CodePage::Utf8, "notes/", "notes/", ""},
        SplitCase{"EmptyPath", CodePage::Utf8, "", "", ""},
        SplitCase{"Utf8Characters", CodePage::Utf8, "笔记/工作.txt", "笔记/", "工作.txt"},
        // In UTF-8 a lone 0x81 is a character of its own, so the "/" after it separates.
        SplitCase{"Utf8LoneByteBeforeSlash", CodePage::Utf8, "a/x\x81/f.txt", "a/x\x81/", "f.txt"},
        // In code page 936 0x81 starts a two-byte character that swallows the "/".
        SplitCase{"GbkSlashAsTrailByte", CodePage::Gbk, "a/x\x81/f.txt", "a/", "x\x81/f.txt"},
        SplitCase{"GbkTrailSlashOnly", CodePage::Gbk, "x\x81/f.txt", "", "x\x81/f.txt"},
        SplitCase{"GbkCharacters", CodePage::Gbk, "\xB1\xCA/\xD6\xC3.txt", "\xB1\xCA/",
                  "\xD6\xC3.txt"},
        SplitCase{"GbkLeadByteAtEnd", CodePage::Gbk, "a/b\x81", "a/", "b\x81"}),
    CaseName());

struct BackupPathCase {
    const char* name;
    CodePage codePage;
    std::string document;
    std::string_view prefix;
    std::string expected;
};

class BackupPathTest : public ::testing::TestWithParam<BackupPathCase> {};

TEST_P(BackupPathTest, PutsThePrefixInTheActiveCodePageBeforeTheFileName) {
    const BackupPathCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(BackupPath(c.document, c.prefix), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BackupPathTest,
    ::testing::Values(BackupPathCase{"Utf8Startup", CodePage::Utf8, "/n/work.txt",
                                     kStartupBackupPrefix, "/n/备_work.txt"},
                      BackupPathCase{"Utf8Manual", CodePage::Utf8, "/n/work.txt",
                                     kManualBackupPrefix, "/n/手备_work.txt"},
                      BackupPathCase{"Utf8NoDirectory", CodePage::Utf8, "work.txt",
                                     kStartupBackupPrefix, "备_work.txt"},
                      BackupPathCase{"GbkStartup", CodePage::Gbk, "/n/work.txt",
                                     kStartupBackupPrefix,
                                     "/n/" + std::string(kGbkStartupPrefix) + "work.txt"},
                      BackupPathCase{"GbkManual", CodePage::Gbk, "/n/work.txt", kManualBackupPrefix,
                                     "/n/" + std::string(kGbkManualPrefix) + "work.txt"},
                      BackupPathCase{"GbkTrailSlashInDirectory", CodePage::Gbk, "/n/x\x81/w.txt",
                                     kStartupBackupPrefix,
                                     "/n/" + std::string(kGbkStartupPrefix) + "x\x81/w.txt"}),
    CaseName());

TEST(StartupBackup, NeedsMoreThanFourBytes) {
    struct Case {
        std::string content;
        BackupOutcome outcome;
    };
    const Case cases[] = {
        {"", BackupOutcome::TooSmall},
        {"abcd", BackupOutcome::TooSmall},
        {"abcde", BackupOutcome::Made},
        {std::string("a\0\r\n\xFF", 5), BackupOutcome::Made},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.size());
        const TempDir dir;
        const std::string document = dir.File("work.txt");
        WriteBytes(document, c.content);
        EXPECT_EQ(StartupBackup(document), c.outcome);
        const bool made = c.outcome == BackupOutcome::Made;
        EXPECT_EQ(FileExists(dir.File("备_work.txt")), made);
        if (made) {
            EXPECT_EQ(ReadBytes(dir.File("备_work.txt")), c.content);
        }
    }
}

TEST(StartupBackup, MissingOrUnreadableSizeMakesNone) {
    const TempDir dir;
    std::filesystem::create_directory(dir.File("folder.txt"));
    EXPECT_EQ(StartupBackup(dir.File("missing.txt")), BackupOutcome::TooSmall);
    EXPECT_EQ(StartupBackup(dir.File("folder.txt")), BackupOutcome::TooSmall);
    EXPECT_EQ(NamesIn(dir.path()), Names{"folder.txt"});
}

TEST(StartupBackup, BareFileNameBacksUpInTheWorkingDirectory) {
    const TempDir dir;
    WriteBytes(dir.File("work.txt"), "[#a]\r\ntext");
    const WorkingDirectoryScope cwd(dir.path());
    EXPECT_EQ(StartupBackup("work.txt"), BackupOutcome::Made);
    EXPECT_EQ(ReadBytes(dir.File("备_work.txt")), "[#a]\r\ntext");
    EXPECT_EQ(ManualBackupCopy("work.txt"), BackupOutcome::Made);
    EXPECT_EQ(ReadBytes(dir.File("手备_work.txt")), "[#a]\r\ntext");
}

TEST(StartupBackup, TrailByteSlashInCodePage936DoesNotSplit) {
    const CodePageScope scope(CodePage::Gbk);
    const TempDir dir;
    // The folder "x\x81" holds the document; the "/" after 0x81 is the second byte of a
    // character, so the prefix goes before the folder's name, not before the file's.
    std::filesystem::create_directory(dir.File("x\x81"));
    const std::string prefixedFolder = dir.File(std::string(kGbkStartupPrefix) + "x\x81");
    std::filesystem::create_directory(prefixedFolder);
    const std::string document = dir.File("x\x81/doc.txt");
    WriteBytes(document, "hello world");

    EXPECT_EQ(StartupBackup(document), BackupOutcome::Made);
    EXPECT_EQ(ReadBytes(prefixedFolder + "/doc.txt"), "hello world");
    EXPECT_EQ(NamesIn(dir.File("x\x81")), Names{"doc.txt"});
}

TEST(Backup, NewBackupReplacesTheOldOneAsANewFile) {
    struct Case {
        const char* name;
        BackupOutcome (*make)(const Path&);
        std::string_view backupName;
    };
    const Case cases[] = {
        {"startup", StartupBackup, "备_work.txt"},
        {"manual", ManualBackupCopy, "手备_work.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const std::string document = dir.File("work.txt");
        const std::string backup = dir.File(c.backupName);
        WriteBytes(document, "new content\r\n");
        WriteBytes(backup, "old backup, a good deal longer than the new content");
        // A second name for the old backup: an atomic replace leaves it untouched, a rewrite in
        // place would change it too.
        ASSERT_EQ(::link(backup.c_str(), dir.File("kept").c_str()), 0);

        EXPECT_EQ(c.make(document), BackupOutcome::Made);
        EXPECT_EQ(ReadBytes(backup), "new content\r\n");
        EXPECT_EQ(ReadBytes(dir.File("kept")),
                  "old backup, a good deal longer than the new content");
        EXPECT_EQ(ReadBytes(document), "new content\r\n");
        // No temporary file is left beside them.
        EXPECT_EQ(NamesIn(dir.path()), (Names{std::string(c.backupName), "kept", "work.txt"}));
    }
}

TEST(ManualBackupCopy, CopiesEvenATinyFile) {
    const TempDir dir;
    WriteBytes(dir.File("t.txt"), "ab");
    EXPECT_EQ(ManualBackupCopy(dir.File("t.txt")), BackupOutcome::Made);
    EXPECT_EQ(ReadBytes(dir.File("手备_t.txt")), "ab");
    EXPECT_EQ(ManualBackupCopy(dir.File("missing.txt")), BackupOutcome::CopyFailed);
    EXPECT_FALSE(FileExists(dir.File("手备_missing.txt")));
}

TEST(Backup, FailedCopyIsReportedAndLeavesNothingBehind) {
    struct Case {
        const char* name;
        BackupOutcome (*make)(const Path&);
        std::string_view backupName;
    };
    const Case cases[] = {
        {"startup", StartupBackup, "备_work.txt"},
        {"manual", ManualBackupCopy, "手备_work.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        WriteBytes(dir.File("work.txt"), "some text");
        // A folder where the backup would go cannot be replaced, not even by root.
        std::filesystem::create_directory(dir.File(c.backupName));
        EXPECT_EQ(c.make(dir.File("work.txt")), BackupOutcome::CopyFailed);
        EXPECT_EQ(NamesIn(dir.path()), (Names{std::string(c.backupName), "work.txt"}));
        EXPECT_EQ(ReadBytes(dir.File("work.txt")), "some text");
    }
}

// Lowers the file-size limit of this process for one test: a write past it fails as on a full
// disk, for root too.
class FileSizeLimitScope {
public:
    explicit FileSizeLimitScope(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    FileSizeLimitScope(const FileSizeLimitScope&) = delete;
    FileSizeLimitScope& operator=(const FileSizeLimitScope&) = delete;
    ~FileSizeLimitScope() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST(Backup, CopyCutShortKeepsTheOldBackupWhole) {
    struct Case {
        const char* name;
        BackupOutcome (*make)(const Path&);
        std::string_view backupName;
    };
    const Case cases[] = {
        {"startup", StartupBackup, "备_work.txt"},
        {"manual", ManualBackupCopy, "手备_work.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        WriteBytes(dir.File("work.txt"), "a document longer than the limit");
        WriteBytes(dir.File(c.backupName), "old");
        BackupOutcome outcome = BackupOutcome::Made;
        {
            const FileSizeLimitScope limit(8);
            outcome = c.make(dir.File("work.txt"));
        }
        EXPECT_EQ(outcome, BackupOutcome::CopyFailed);
        EXPECT_EQ(ReadBytes(dir.File(c.backupName)), "old");
        EXPECT_EQ(NamesIn(dir.path()), (Names{std::string(c.backupName), "work.txt"}));
    }
}

TEST(RestoreBackupCopy, CopyCutShortKeepsTheDocumentWhole) {
    const TempDir dir;
    WriteBytes(dir.File("work.txt"), "doc");
    WriteBytes(dir.File("备_work.txt"), "a backup longer than the limit");
    RestoreOutcome outcome = RestoreOutcome::Restored;
    {
        const FileSizeLimitScope limit(8);
        outcome = RestoreBackupCopy(dir.File("work.txt"), kStartupBackupPrefix);
    }
    EXPECT_EQ(outcome, RestoreOutcome::CopyFailed);
    EXPECT_EQ(ReadBytes(dir.File("work.txt")), "doc");
    EXPECT_EQ(NamesIn(dir.path()), (Names{"work.txt", "备_work.txt"}));
}

TEST(Backup, ReadOnlyDirectoryReportsCopyFailed) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only directories";
    }
    const TempDir dir;
    const std::string folder = dir.File("ro");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/work.txt", "some text");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    EXPECT_EQ(StartupBackup(folder + "/work.txt"), BackupOutcome::CopyFailed);
    EXPECT_EQ(ManualBackupCopy(folder + "/work.txt"), BackupOutcome::CopyFailed);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(NamesIn(folder), Names{"work.txt"});
}

TEST(RestoreBackupCopy, CopiesTheBackupOverTheDocumentAndKeepsIt) {
    struct Case {
        std::string_view prefix;
        std::string_view backupName;
    };
    const Case cases[] = {
        {kStartupBackupPrefix, "备_work.txt"},
        {kManualBackupPrefix, "手备_work.txt"},
    };
    const std::string saved("[#a]\r\nold\0text\r\n", 16);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.backupName);
        const TempDir dir;
        const std::string document = dir.File("work.txt");
        WriteBytes(document, "edited since");
        WriteBytes(dir.File(c.backupName), saved);
        EXPECT_EQ(RestoreBackupCopy(document, c.prefix), RestoreOutcome::Restored);
        EXPECT_EQ(ReadBytes(document), saved);
        EXPECT_EQ(ReadBytes(dir.File(c.backupName)), saved);
        EXPECT_EQ(NamesIn(dir.path()), (Names{std::string(c.backupName), "work.txt"}));
    }
}

TEST(RestoreBackupCopy, RestoresADocumentThatWasRemoved) {
    const TempDir dir;
    WriteBytes(dir.File("备_work.txt"), "backup");
    EXPECT_EQ(RestoreBackupCopy(dir.File("work.txt"), kStartupBackupPrefix),
              RestoreOutcome::Restored);
    EXPECT_EQ(ReadBytes(dir.File("work.txt")), "backup");
}

TEST(RestoreBackupCopy, MissingBackupChangesNothing) {
    const TempDir dir;
    const std::string document = dir.File("work.txt");
    WriteBytes(document, "current");
    // The manual backup exists, the automatic one does not, and a folder is no backup.
    WriteBytes(dir.File("手备_work.txt"), "manual");
    EXPECT_EQ(RestoreBackupCopy(document, kStartupBackupPrefix), RestoreOutcome::NoBackup);
    std::filesystem::create_directory(dir.File("备_work.txt"));
    EXPECT_EQ(RestoreBackupCopy(document, kStartupBackupPrefix), RestoreOutcome::NoBackup);
    EXPECT_EQ(ReadBytes(document), "current");
}

TEST(RestoreBackupCopy, FailedCopyIsReported) {
    const TempDir dir;
    // The document's path is a folder: the backup exists but cannot be copied over it.
    std::filesystem::create_directory(dir.File("work.txt"));
    WriteBytes(dir.File("备_work.txt"), "backup");
    EXPECT_EQ(RestoreBackupCopy(dir.File("work.txt"), kStartupBackupPrefix),
              RestoreOutcome::CopyFailed);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("work.txt")));
    EXPECT_EQ(ReadBytes(dir.File("备_work.txt")), "backup");
    EXPECT_EQ(NamesIn(dir.path()), (Names{"work.txt", "备_work.txt"}));
}

} // namespace
} // namespace quorvel::store
