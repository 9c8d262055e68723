#include "store/Profile.h"
#include "store/settings/SettingsTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace quorvel::store {
namespace {

using testing::ChildResult;
using testing::ReadBytes;
using testing::RunWithoutPrivileges;
using testing::SetMode;
using testing::TempDir;
using testing::WriteBytes;

// A settings file as people leave them: text before the first section, comments, blank lines,
// blanks around "=", every kind of line break, a repeated section and no break at the end.
const std::string kFixture = "; kelmora settings\r\n"
                             "loose=line before any section\n"
                             "\r\n"
                             "[配置]\r\n"
                             "当前文件=/home/u/notes.txt\r\n"
                             "; a comment inside\n"
                             "自动保存 = 真\r\n"
                             "\r\n"
                             "; the closing comment\r\n"
                             "\r\n"
                             "[Window]\n"
                             "  Left = 10\n"
                             "bare\r\n"
                             "[Empty]\r\n"
                             "; only a comment\r\n"
                             "[文件]\n"
                             "1=/a.txt\n"
                             "2=空\r"
                             "[window]\r\n"
                             "Top=5\r\n"
                             "[格式]\r\n"
                             "字体=假|假|假|假|宋体|9|0|16777215";

struct WriteCase {
    const char* what;
    std::string section;
    std::string key;
    std::string value;
    std::string before; // occurs once in the fixture
    std::string after;  // what it becomes; every other byte stays
};

const WriteCase kWriteCases[] = {
    {"existing key keeps its spelling and its CR LF", "配置", "自动保存", "假", "自动保存 = 真\r\n",
     "自动保存=假\r\n"},
    {"existing key found ignoring case keeps its LF", "WINDOW", "left", "20", "  Left = 10\n",
     "Left=20\n"},
    {"a line without = is a key", "window", "BARE", "x", "bare\r\n", "bare=x\r\n"},
    {"new key goes after the last key, before closing comments", "配置", "当前标签", "甲",
     "自动保存 = 真\r\n", "自动保存 = 真\r\n当前标签=甲\r\n"},
    {"new key in a section without keys goes after its header", "Empty", "k", "v", "[Empty]\r\n",
     "[Empty]\r\nk=v\r\n"},
    {"new key after a line ending in CR alone", "文件", "3", "/c.txt", "2=空\r",
     "2=空\r3=/c.txt\r\n"},
    {"new key goes into the first of two sections", "Window", "Top", "7", "bare\r\n",
     "bare\r\nTop=7\r\n"},
    {"new key after a last line without a break", "格式", "字体2", "x", "16777215",
     "16777215\r\n字体2=x\r\n"},
    {"new section goes at the end", "新节", "k", "v", "16777215", "16777215\r\n[新节]\r\nk=v\r\n"},
    {"a value with blanks at its ends is quoted", "Window", "Left", "  padded ", "  Left = 10\n",
     "Left=\"  padded \"\n"},
    {"a value in enclosing quotes is quoted again", "Window", "Left", "\"x\"", "  Left = 10\n",
     "Left=\"\"x\"\"\n"},
    {"an empty value", "配置", "当前文件", "", "当前文件=/home/u/notes.txt\r\n", "当前文件=\r\n"},
};

TEST(ProfileWrite, ChangesOnlyTheLineItWritesAndPlacesNewLines) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.File("kelmora.ini");
        WriteBytes(path, kFixture);
        ProfileFile file(path);
        file.Read(c.section, c.key, ""); // the write then starts from a parsed copy

        ASSERT_EQ(file.Write(c.section, c.key, c.value), ProfileWriteOutcome::Written);

        std::string expected = kFixture;
        const std::size_t at = expected.find(c.before);
        ASSERT_NE(at, std::string::npos);
        ASSERT_EQ(expected.find(c.before, at + 1), std::string::npos);
        expected.replace(at, c.before.size(), c.after);
        EXPECT_EQ(ReadBytes(path), expected);
        EXPECT_EQ(file.Read(c.section, c.key, "<missing>"), c.value);
        EXPECT_EQ(ProfileFile(path).Read(c.section, c.key, "<missing>"), c.value);
    }
}

TEST(ProfileWrite, CreatesTheFileAndItsDirectories) {
    TempDir dir;
    const std::string path = dir.File("config/quorvel/kelmora.ini");
    ProfileFile file(path);
    EXPECT_EQ(file.Write("S", "k", "v"), ProfileWriteOutcome::Written);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
    EXPECT_EQ(file.Write("s", "k2", "w"), ProfileWriteOutcome::Written);
    EXPECT_EQ(file.Write("T", "k", "x"), ProfileWriteOutcome::Written);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\nk2=w\r\n[T]\r\nk=x\r\n");

    const std::string junk = dir.File("junk.ini");
    WriteBytes(junk, "no break at the end");
    EXPECT_EQ(ProfileFile(junk).Write("S", "k", "v"), ProfileWriteOutcome::Written);
    EXPECT_EQ(ReadBytes(junk), "no break at the end\r\n[S]\r\nk=v\r\n");
}

// Every value without a line break reads back exactly as written.
TEST(ProfileWrite, ValuesRoundTripExactly) {
    const std::string values[] = {"plain", "  lead", "trail  ", "\tboth\v", "\"x\"", "'y'",
                                  "\"",    "'",      "\"open",  "a\"b\"",   "",      "\"\"",
                                  " ",     "'x\"",   "=;[#]",   "\" \"",    "''''"};
    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    ProfileFile file(path);
    for (const std::string& value : values) {
        ASSERT_EQ(file.Write("S", "k", value), ProfileWriteOutcome::Written) << value;
        EXPECT_EQ(file.Read("S", "k", "<missing>"), value);
        EXPECT_EQ(ProfileFile(path).Read("S", "k", "<missing>"), value);
    }
}

struct RefusedCase {
    std::string section;
    std::string key;
    std::string value;
};

TEST(ProfileWrite, RefusesWhatTheFileCannotHoldAndChangesNothing) {
    const RefusedCase cases[] = {
        {"配置", "当前文件", "a\r\nb"},
        {"配置", "当前文件", "a\nb"},
        {"配置", "当前文件", "a\r"},
        {"", "k", "v"},
        {" 配置", "k", "v"},
        {"配置\t", "k", "v"},
        {"a]b", "k", "v"},
        {"a\nb", "k", "v"},
        {"配置", "", "v"},
        {"配置", "a=b", "v"},
        {"配置", ";k", "v"},
        {"配置", "[k", "v"},
        {"配置", " k", "v"},
        {"配置", "k\v", "v"},
        {"配置", "k\r", "v"},
    };
    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    WriteBytes(path, kFixture);
    ProfileFile file(path);
    ProfileFile missing(dir.File("missing.ini"));
    for (const RefusedCase& c : cases) {
        EXPECT_EQ(file.Write(c.section, c.key, c.value), ProfileWriteOutcome::Refused)
            << "[" << c.section << "] " << c.key << "=" << c.value;
        EXPECT_EQ(missing.Write(c.section, c.key, c.value), ProfileWriteOutcome::Refused);
    }
    EXPECT_EQ(ReadBytes(path), kFixture);
    EXPECT_FALSE(missing.Exists());
}

// A value reads through a buffer of 10,240 bytes: the longest that reads back whole is written,
// one byte more is refused and nothing changes.
TEST(ProfileWrite, RefusesAValueLongerThanReadsBack) {
    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    WriteBytes(path, kFixture);
    ProfileFile file(path);
    const std::string longest(ProfileFile::kLongestValue, 'v');
    EXPECT_EQ(file.Write("配置", "k", longest + "v"), ProfileWriteOutcome::TooLong);
    EXPECT_EQ(file.Write("配置", "k", " " + longest), ProfileWriteOutcome::TooLong);
    EXPECT_EQ(ReadBytes(path), kFixture);
    EXPECT_EQ(file.Write("配置", "k", longest), ProfileWriteOutcome::Written);
    EXPECT_EQ(ProfileFile(path).Read("配置", "k", ""), longest);
    // A line break is refused as such whatever the length.
    EXPECT_EQ(file.Write("配置", "k", longest + "\n"), ProfileWriteOutcome::Refused);
}

// Names are checked by characters: in code page 936 a trail byte like "]" is no separator, and a
// name ending in a lone lead byte would swallow the "]" or "=" written after it.
TEST(ProfileWrite, NamesAreCheckedByCharactersOfTheCodePage) {
    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    ProfileFile file(path);
    {
        testing::CodePageScope gbk(CodePage::Gbk);
        ASSERT_EQ(file.Write("\x81]", "\x81[", "v"), ProfileWriteOutcome::Written);
        EXPECT_EQ(ReadBytes(path), "[\x81]]\r\n\x81[=v\r\n");
        EXPECT_EQ(file.Read("\x81]", "\x81[", "d"), "v");
        EXPECT_EQ(file.Write("S\x81", "k", "v"), ProfileWriteOutcome::Refused);
        EXPECT_EQ(file.Write("S", "k\x81", "v"), ProfileWriteOutcome::Refused);
        EXPECT_EQ(ReadBytes(path), "[\x81]]\r\n\x81[=v\r\n");
    }
    // In UTF-8 a lone 0x81 is a character of its own.
    EXPECT_EQ(file.Write("\x81]", "k", "v"), ProfileWriteOutcome::Refused);
    ASSERT_EQ(file.Write("S\x81", "k\x81", "w"), ProfileWriteOutcome::Written);
    EXPECT_EQ(file.Read("S\x81", "k\x81", "d"), "w");
}

struct ReadOnlyCase {
    const char* what;
    mode_t directoryMode;
    bool fileExists;
    mode_t fileMode;
    std::string name; // inside the directory
};

TEST(ProfileWrite, ReportsAFailedWriteAndChangesNothing) {
    const ReadOnlyCase cases[] = {
        {"read-only directory, no file", 0555, false, 0, "kelmora.ini"},
        {"read-only directory, read-only file", 0555, true, 0444, "kelmora.ini"},
        {"writable directory, read-only file", 0777, true, 0444, "kelmora.ini"},
        {"file that cannot be read is not written over", 0777, true, 0222, "kelmora.ini"},
        {"directory that cannot be made", 0555, false, 0, "sub/kelmora.ini"},
    };
    for (const ReadOnlyCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string folder = dir.File("settings");
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        const std::string path = folder + "/" + c.name;
        if (c.fileExists) {
            WriteBytes(path, kFixture);
            SetMode(path, c.fileMode);
        }
        SetMode(dir.path(), 0755);
        SetMode(folder, c.directoryMode);

        const ChildResult result = RunWithoutPrivileges([&path] {
            ProfileFile file(path);
            return file.Write("配置", "自动保存", "假") == ProfileWriteOutcome::WriteFailed;
        });
        if (result == ChildResult::CannotDropPrivileges) {
            GTEST_SKIP() << "cannot run as an unprivileged user";
        }
        EXPECT_EQ(result, ChildResult::True);

        SetMode(folder, 0755);
        if (c.fileExists) {
            SetMode(path, 0644);
            EXPECT_EQ(ReadBytes(path), kFixture);
        } else {
            EXPECT_FALSE(FileExists(path));
        }
        // No temporary file is left behind either.
        const auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                           std::filesystem::directory_iterator());
        EXPECT_EQ(entries, c.fileExists ? 1 : 0);
    }
}

} // namespace
} // namespace quorvel::store
