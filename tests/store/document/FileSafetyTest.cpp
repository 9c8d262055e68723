#include "DocumentTestSupport.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// How the operations treat the file system: atomic rewrites, kept permissions and links, and
// paths or bytes that are not a proper document.
namespace quorvel::testing {
namespace {

using store::DeleteOutcome;
using store::RenameOutcome;
using store::SaveMode;
using store::SaveOutcome;

struct FailingRewrite {
    const char* name;
    std::function<int(const store::Path&)> run; // the operation's outcome as a number
    int writeFailed;
    std::size_t newSize;
    friend void PrintTo(const FailingRewrite& c, std::ostream* os) { *os << c.name; }
};

class AtomicRewrite : public DocumentTest, public ::testing::WithParamInterface<FailingRewrite> {};

const std::string kBigText(200'000, 't');
const std::string kOld = "[#a]\r\n" + std::string(100'000, 'o') + "\r\n[#b]\r\n\0two"s;

// The file size limit makes the rewrite fail part-way; the document must still be the old one.
TEST_P(AtomicRewrite, FailedRewriteLeavesTheOldFile) {
    WriteBytes(path_, kOld);
    const FailingRewrite& c = GetParam();
    const int code = ExitCodeOfChild([&] {
        const rlim_t limit = c.newSize - 10;
        const rlimit fileSize{limit, limit};
        std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
            return 255;
        }
        return c.run(path_);
    });
    EXPECT_EQ(code, c.writeFailed);
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

const FailingRewrite kFailingRewrites[] = {
    {"Save",
     [](const store::Path& p) {
         return static_cast<int>(store::SaveSection(p, "a", SaveMode::Save, kBigText));
     },
     static_cast<int>(SaveOutcome::WriteFailed), 6 + kBigText.size()},
    {"Rename",
     [](const store::Path& p) { return static_cast<int>(store::RenameLabel(p, "a", "abc")); },
     static_cast<int>(RenameOutcome::WriteFailed), kOld.size() + 2},
    {"Delete", [](const store::Path& p) { return static_cast<int>(store::DeleteSection(p, "b")); },
     static_cast<int>(DeleteOutcome::WriteFailed), kOld.size() - 10},
    // The limit falls inside the appended section: none of it may stay behind.
    {"Append",
     [](const store::Path& p) {
         return static_cast<int>(store::SaveSection(p, "new", SaveMode::Save, kBigText));
     },
     static_cast<int>(SaveOutcome::WriteFailed), kOld.size() + 9 + kBigText.size()},
};

INSTANTIATE_TEST_SUITE_P(Operations, AtomicRewrite, ::testing::ValuesIn(kFailingRewrites),
                         CaseName());

class FileSafety : public DocumentTest {};

TEST_F(FileSafety, RewritesKeepPermissions) {
    WriteBytes(path_, "[#a]\r\none\r\n[#b]\r\ntwo");
    ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
    ::umask(022);
    EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "ONE"), SaveOutcome::Replaced);
    EXPECT_EQ(store::RenameLabel(path_, "b", "c"), RenameOutcome::Renamed);
    EXPECT_EQ(store::DeleteSection(path_, "a"), DeleteOutcome::Deleted);
    EXPECT_EQ(Bytes(), "[#c]\r\ntwo");
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

TEST_F(FileSafety, DocumentThroughSymbolicLinkStaysALink) {
    const std::string link = dir_.File("link.txt");
    WriteBytes(path_, "[#a]\r\none");
    ASSERT_EQ(::symlink("notes.txt", link.c_str()), 0);
    EXPECT_EQ(store::SaveSection(link, "a", SaveMode::Save, "new"), SaveOutcome::Replaced);
    EXPECT_EQ(store::SaveSection(link, "b", SaveMode::Create, ""), SaveOutcome::Appended);
    EXPECT_EQ(store::RenameLabel(link, "b", "c"), RenameOutcome::Renamed);
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(std::filesystem::read_symlink(link), "notes.txt");
    EXPECT_EQ(Bytes(), "[#a]\r\nnew\r\n[#c]\r\n");
}

TEST_F(FileSafety, PathsThatAreNoDocumentChangeNothing) {
    for (const store::Path& path : {dir_.path(), store::Path(), dir_.File("none/notes.txt")}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(store::ListLabels(path).empty());
        EXPECT_FALSE(store::ReadSection(path, "a").found);
        EXPECT_EQ(store::ReadWholeDocument(path), "");
        EXPECT_EQ(store::SaveSection(path, "a", SaveMode::Save, "t"), SaveOutcome::WriteFailed);
        EXPECT_EQ(store::SaveSection(path, "a", SaveMode::Create, ""), SaveOutcome::WriteFailed);
        EXPECT_EQ(store::RenameLabel(path, "a", "b"), RenameOutcome::NotFound);
        EXPECT_EQ(store::DeleteSection(path, "a"), DeleteOutcome::NotFound);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path()));
    EXPECT_TRUE(DirectoryEntries().empty());
}

// A file that can be written but not read: appending blindly could add a second section for a
// label it already holds, so nothing is written. Root reads every file, so a root run checks
// this as an ordinary user.
TEST_F(FileSafety, UnreadableFileIsNotAppendedTo) {
    constexpr uid_t kNobody = 65534;
    WriteBytes(path_, "[#a]\r\none");
    ASSERT_EQ(::chmod(path_.c_str(), 0200), 0);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(path_.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(dir_.path().c_str(), 0777), 0);
    }
    const int code = ExitCodeOfChild([&] {
        if (asRoot && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            return 255;
        }
        const bool ok =
            store::SaveSection(path_, "a", SaveMode::Save, "t") == SaveOutcome::WriteFailed &&
            store::SaveSection(path_, "b", SaveMode::Create, "") == SaveOutcome::WriteFailed &&
            store::RenameLabel(path_, "a", "b") == RenameOutcome::NotFound &&
            store::DeleteSection(path_, "a") == DeleteOutcome::NotFound;
        return ok ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    ASSERT_EQ(::chmod(path_.c_str(), 0600), 0);
    EXPECT_EQ(Bytes(), "[#a]\r\none");
}

TEST_F(FileSafety, FifoAsPathDoesNotHang) {
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    const int code = ExitCodeOfChild([&] {
        const bool ok =
            store::ListLabels(path_).empty() && !store::ReadSection(path_, "a").found &&
            store::ReadWholeDocument(path_).empty() &&
            store::SaveSection(path_, "a", SaveMode::Save, "t") == SaveOutcome::WriteFailed &&
            store::RenameLabel(path_, "a", "b") == RenameOutcome::NotFound &&
            store::DeleteSection(path_, "a") == DeleteOutcome::NotFound;
        return ok ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
}

// Every byte value once, the zero byte last so that the text-reading operations see the rest.
TEST_F(FileSafety, BinaryFileKeepsItsBytes) {
    std::string binary;
    for (int value = 1; value < 256; ++value) {
        binary.push_back(static_cast<char>(value));
    }
    binary.push_back('\0');
    for (CodePage codePage : {CodePage::Utf8, CodePage::Gbk}) {
        const CodePageScope scope(codePage);
        WriteBytes(path_, binary);
        EXPECT_TRUE(store::ListLabels(path_).empty());
        EXPECT_FALSE(store::ReadSection(path_, "a").found);
        EXPECT_EQ(store::ReadWholeDocument(path_), binary.substr(0, 255));
        EXPECT_EQ(store::RenameLabel(path_, "a", "b"), RenameOutcome::NotFound);
        EXPECT_EQ(store::DeleteSection(path_, "a"), DeleteOutcome::NotFound);
        EXPECT_EQ(Bytes(), binary);
        // Its one LF (byte 10) is bare, so the appended breaks are LF as well.
        EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "t"), SaveOutcome::Appended);
        EXPECT_EQ(Bytes(), binary + "\n[#a]\nt\n");
        EXPECT_EQ(store::ReadSection(path_, "a").text, "t\n");
        EXPECT_EQ(store::DeleteSection(path_, "a"), DeleteOutcome::Deleted);
        EXPECT_EQ(Bytes(), binary + "\n");
    }
}

TEST_F(FileSafety, LoneCrsAreOrdinaryBytes) {
    const std::string loneCrs = "[#a]\r[#b]\rtext\r";
    WriteBytes(path_, loneCrs);
    EXPECT_EQ(store::ListLabels(path_), std::vector<Text>{"a]\r[#b]\rtext"});
    EXPECT_FALSE(store::ReadSection(path_, "a").found);
    EXPECT_EQ(store::RenameLabel(path_, "a", "c"), RenameOutcome::NotFound);
    EXPECT_EQ(store::DeleteSection(path_, "b"), DeleteOutcome::NotFound);
    EXPECT_EQ(store::SaveSection(path_, "a", SaveMode::Save, "x"), SaveOutcome::Appended);
    EXPECT_EQ(Bytes(), loneCrs + "\r\n[#a]\r\nx\r\n");
    EXPECT_EQ(store::ReadSection(path_, "a").text, "x\r\n");
}

} // namespace
} // namespace quorvel::testing
