#include "store/Profile.h"
#include "store/settings/SettingsTestSupport.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace quorvel::store {
namespace {

using testing::CodePageScope;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::string_view kDefault = "<default>";

// One file that holds every reading rule, written with CR LF; the tests also read it with LF and
// with CR alone.
constexpr std::string_view kReadFixture = "stray=before any section\r\n"
                                          "[Main]\r\n"
                                          "plain=value\r\n"
                                          "  spaced  =  \t padded value \v \r\n"
                                          "dq=\"quoted\"\r\n"
                                          "sq='single'\r\n"
                                          "mixed=\"half'\r\n"
                                          "inner=a \"b\" c\r\n"
                                          "twice=\"\"x\"\"\r\n"
                                          "blankquoted=  \" kept \"  \r\n"
                                          "; commented=no\r\n"
                                          "   ;indented=no\r\n"
                                          "semi=a;b #c\r\n"
                                          "eq=a=b\r\n"
                                          "bare line\r\n"
                                          "empty=\r\n"
                                          "dup=first\r\n"
                                          "dup=second\r\n"
                                          "CaSeD=case\r\n"
                                          "\r\n"
                                          "[ main ]\r\n"
                                          "late=never\r\n"
                                          "plain=other\r\n"
                                          "[Other] trailing text\r\n"
                                          "k=v]x\r\n"
                                          "[Unclosed\r\n"
                                          "[a]b]\r\n"
                                          "x=1";

struct ReadCase {
    std::string_view section;
    std::string_view key;
    std::string_view expected;
};

constexpr ReadCase kReadCases[] = {
    {"Missing", "plain", kDefault},
    {"Main", "missing", kDefault},
    {"Main", "stray", kDefault}, // lines before the first section are never read
    {"", "stray", kDefault},
    {"Main", "plain", "value"},
    {"main", "PLAIN", "value"},
    {"MAIN", "spaced", "padded value"},
    {"Main", "dq", "quoted"},
    {"Main", "sq", "single"},
    {"Main", "mixed", "\"half'"},
    {"Main", "inner", "a \"b\" c"},
    {"Main", "twice", "\"x\""},
    {"Main", "blankquoted", " kept "},
    {"Main", "commented", kDefault},
    {"Main", "; commented", kDefault},
    {"Main", ";indented", kDefault},
    {"Main", "semi", "a;b #c"},
    {"Main", "eq", "a=b"},
    {"Main", "bare line", ""},
    {"Main", "empty", ""},
    {"Main", "dup", "first"},
    {"Main", "CASED", "case"},
    {"Main", "late", kDefault}, // in the repeated section, which is never searched
    {"Other", "k", "v]x"},
    {"other", "[Unclosed", ""},
    {"Unclosed", "x", kDefault},
    {"a]b", "x", "1"},
};

std::string WithBreaks(std::string_view crLfText, std::string_view lineBreak) {
    std::string result;
    for (std::size_t pos = 0; pos < crLfText.size();) {
        if (crLfText.substr(pos, 2) == "\r\n") {
            result += lineBreak;
            pos += 2;
        } else {
            result += crLfText[pos++];
        }
    }
    return result;
}

TEST(ProfileRead, AppliesTheProfileRulesWithEveryLineBreak) {
    for (const std::string_view lineBreak : {"\r\n", "\n", "\r"}) {
        TempDir dir;
        WriteBytes(dir.File("a.ini"), WithBreaks(kReadFixture, lineBreak));
        ProfileFile file(dir.File("a.ini"));
        for (const ReadCase& c : kReadCases) {
            EXPECT_EQ(file.Read(Text(c.section), Text(c.key), Text(kDefault)), c.expected)
                << "[" << c.section << "] " << c.key << " with break "
                << (lineBreak == "\r"   ? "CR"
                    : lineBreak == "\n" ? "LF"
                                        : "CRLF");
        }
    }
}

TEST(ProfileRead, MissingOrEmptyFileGivesDefaults) {
    TempDir dir;
    ProfileFile missing(dir.File("none.ini"));
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Read("Main", "plain", "d"), "d");

    WriteBytes(dir.File("empty.ini"), "");
    ProfileFile empty(dir.File("empty.ini"));
    EXPECT_TRUE(empty.Exists());
    EXPECT_EQ(empty.Read("Main", "plain", "d"), "d");

    ::mkdir(dir.File("directory.ini").c_str(), 0755);
    ProfileFile directory(dir.File("directory.ini"));
    EXPECT_EQ(directory.Read("Main", "plain", "d"), "d");
}

// Code page 936: a trail byte is never folded and never closes a header.
TEST(ProfileRead, NamesStepByCharactersOfTheCodePage) {
    TempDir dir;
    // "\x81" "A" is one character in code page 936; "\x81]" too.
    WriteBytes(dir.File("a.ini"), "[S]\r\n[\x81]x\r\nk=gbk\r\n[\x81"
                                  "A]\r\nKey=1\r\n");
    ProfileFile file(dir.File("a.ini"));
    {
        CodePageScope gbk(CodePage::Gbk);
        EXPECT_EQ(file.Read("S", "k", "d"), "gbk");
        EXPECT_EQ(file.Read("s", "[\x81]x", "d"), "");
        EXPECT_EQ(file.Read("\x81", "k", "d"), "d");
        EXPECT_EQ(file.Read("\x81"
                            "A",
                            "KEY", "d"),
                  "1");
        EXPECT_EQ(file.Read("\x81"
                            "a",
                            "key", "d"),
                  "d");
    }
    // In UTF-8 the lone 0x81 is a character of its own, so the same bytes are a header.
    EXPECT_EQ(file.Read("\x81", "k", "d"), "gbk");
    EXPECT_EQ(file.Read("S", "k", "d"), "d");
    EXPECT_EQ(file.Read("\x81"
                        "a",
                        "key", "d"),
              "1");
}

struct CutCase {
    CodePage codePage;
    std::string value;
    std::size_t expectedLength;
};

TEST(ProfileRead, LongValuesAreCutOnACharacterBoundary) {
    const std::string utf8Char = "\xE4\xB8\xAD"; // three bytes
    const std::string gbkChar = "\xD6\xD0";      // two bytes
    const CutCase cases[] = {
        {CodePage::Utf8, std::string(10239, 'a'), 10239},
        {CodePage::Utf8, std::string(10240, 'a'), 10239},
        {CodePage::Utf8, std::string(20000, 'a'), 10239},
        {CodePage::Utf8, std::string(10236, 'a') + utf8Char, 10239},
        {CodePage::Utf8, std::string(10237, 'a') + utf8Char, 10237},
        {CodePage::Utf8, std::string(10238, 'a') + utf8Char, 10238},
        {CodePage::Gbk, std::string(10237, 'a') + gbkChar, 10239},
        {CodePage::Gbk, std::string(10238, 'a') + gbkChar + "b", 10238},
        {CodePage::Gbk,
         std::string(10238, 'a') + "\x81"
                                   "A",
         10238}, // one character in 936
    };
    TempDir dir;
    for (const CutCase& c : cases) {
        CodePageScope codePage(c.codePage);
        WriteBytes(dir.File("a.ini"), "[S]\r\nk=" + c.value + "\r\n");
        ProfileFile file(dir.File("a.ini"));
        EXPECT_EQ(file.Read("S", "k", "d"), c.value.substr(0, c.expectedLength))
            << c.value.size() << " bytes";
    }
}

// Each read sees the file as it is now, however it was changed since the last one.
TEST(ProfileRead, SeesEveryOutsideChange) {
    TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteBytes(path, "[S]\r\nk=one\r\n");
    ProfileFile file(path);
    ASSERT_EQ(file.Read("S", "k", "d"), "one");

    WriteBytes(path, "[S]\r\nk=two\r\n"); // same size, same inode, at once
    EXPECT_EQ(file.Read("S", "k", "d"), "two");

    WriteBytes(dir.File("new.ini"), "[S]\r\nk=six\r\n");
    ASSERT_EQ(std::rename(dir.File("new.ini").c_str(), path.c_str()), 0);
    EXPECT_EQ(file.Read("S", "k", "d"), "six");

    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(file.Read("S", "k", "d"), "d");

    WriteBytes(path, "[S]\r\nk=ten\r\n");
    EXPECT_EQ(file.Read("S", "k", "d"), "ten");

    // A settled file, then a same-size edit with the old modification time put back: only the
    // change time tells.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(file.Read("S", "k", "d"), "ten");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    WriteBytes(path, "[S]\r\nk=TEN\r\n");
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(file.Read("S", "k", "d"), "TEN");
}

} // namespace
} // namespace quorvel::store
