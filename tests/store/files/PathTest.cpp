#include "store/Path.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace quorvel::store {
namespace {

// DirectoryOf and FileNameOf split as the file system does, at the last "/" byte, whatever the
// code page: the directory is what the temporary file of an atomic write goes beside.
struct FileSystemSplitCase {
    const char* name;
    CodePage codePage;
    Path path;
    Path directory;
    Path fileName;
};

void PrintTo(const FileSystemSplitCase& c, std::ostream* os) {
    *os << c.name;
}

const FileSystemSplitCase kFileSystemSplitCases[] = {
    {"AbsolutePath", CodePage::Utf8, "/home/me/notes/work.txt", "/home/me/notes", "work.txt"},
    {"RelativePath", CodePage::Utf8, "notes/work.txt", "notes", "work.txt"},
    {"BareNameIsInTheWorkingDirectory", CodePage::Utf8, "work.txt", ".", "work.txt"},
    {"UnderTheRoot", CodePage::Utf8, "/work.txt", "/", "work.txt"},
    {"TheRootItself", CodePage::Utf8, "/", "/", ""},
    {"TrailingSlash", CodePage::Utf8, "notes/", "notes", ""},
    {"Empty", CodePage::Utf8, "", ".", ""},
    {"DotFile", CodePage::Utf8, "/x/.work.txt", "/x", ".work.txt"},
    {"Utf8Names", CodePage::Utf8, "笔记/工作.txt", "笔记", "工作.txt"},
    // Unlike SplitPath: a "/" behind a lead byte still separates for the file system.
    {"SlashAfterALeadByte", CodePage::Gbk, "a/x\x81/f.txt", "a/x\x81", "f.txt"},
    {"Code936Names", CodePage::Gbk, "\xB1\xCA/\xD6\xC3.txt", "\xB1\xCA", "\xD6\xC3.txt"},
};

class FileSystemSplitTest : public ::testing::TestWithParam<FileSystemSplitCase> {};

TEST_P(FileSystemSplitTest, SplitsAtTheLastSlashByte) {
    const FileSystemSplitCase& c = GetParam();
    text::SetActiveCodePage(c.codePage);
    EXPECT_EQ(DirectoryOf(c.path), c.directory);
    EXPECT_EQ(FileNameOf(c.path), c.fileName);
    text::SetActiveCodePage(CodePage::Utf8);
}

INSTANTIATE_TEST_SUITE_P(Paths, FileSystemSplitTest, ::testing::ValuesIn(kFileSystemSplitCases),
                         quorvel::testing::CaseName());

} // namespace
} // namespace quorvel::store
