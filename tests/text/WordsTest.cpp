#include "text/Words.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <gtest/gtest.h>
#include <string>

namespace quorvel::text {
namespace {

using testing::CaseName;
using testing::CodePageScope;

struct ConvertCase {
    const char* name;
    std::string utf8;
    std::string gbk;
};

class FromUtf8Test : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(FromUtf8Test, GivesCodePage936Bytes) {
    const ConvertCase& c = GetParam();
    EXPECT_EQ(FromUtf8(c.utf8, CodePage::Gbk), c.gbk);
    EXPECT_EQ(FromUtf8(c.utf8, CodePage::Utf8), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Words, FromUtf8Test,
    ::testing::Values(ConvertCase{"ConfigurationWord", "配置", "\xC5\xE4\xD6\xC3"},
                      ConvertCase{"CurrentFileWord", "当前文件",
                                  "\xB5\xB1\xC7\xB0\xCE\xC4\xBC\xFE"},
                      ConvertCase{"StartupBackupPrefix", "备_", "\xB1\xB8_"},
                      ConvertCase{"ManualBackupPrefix", "手备_", "\xCA\xD6\xB1\xB8_"},
                      ConvertCase{"TrueWord", "真", "\xD5\xE6"},
                      ConvertCase{"FalseWord", "假", "\xBC\xD9"},
                      ConvertCase{"EmptyWord", "空", "\xBF\xD5"},
                      ConvertCase{"PlainAscii", "plain [#ascii]", "plain [#ascii]"},
                      ConvertCase{"EmptyText", "", ""},
                      // A character code page 936 lacks becomes one "?".
                      ConvertCase{"MissingCharacter",
                                  "a\xF0\x9F\x98\x80"
                                  "b",
                                  "a?b"},
                      ConvertCase{"TwoMissingCharacters", "\xE2\x82\xA9\xE2\x82\xA9", "??"}),
    CaseName());

TEST(FromUtf8, BrokenUtf8BecomesOneQuestionMarkPerByte) {
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b",
                       CodePage::Gbk),
              "a?b");
    EXPECT_EQ(FromUtf8("\xC5\xE4", CodePage::Gbk), "??");
    EXPECT_EQ(FromUtf8("a\xE9\x85", CodePage::Gbk), "a??");
}

TEST(FromUtf8, ConvertsTextLongerThanOneBuffer) {
    std::string utf8;
    std::string gbk;
    for (int i = 0; i < 300; ++i) {
        utf8 += "配置x";
        gbk += "\xC5\xE4\xD6\xC3x";
    }
    EXPECT_EQ(FromUtf8(utf8, CodePage::Gbk), gbk);
}

TEST(InterfaceText, FollowsTheActiveCodePage) {
    // Each code page keeps its own conversion, whichever was asked for first.
    {
        const CodePageScope scope(CodePage::Gbk);
        EXPECT_EQ(InterfaceText("配置"), "\xC5\xE4\xD6\xC3");
    }
    EXPECT_EQ(InterfaceText("配置"), "配置");
    const CodePageScope scope(CodePage::Gbk);
    EXPECT_EQ(InterfaceText("配置"), "\xC5\xE4\xD6\xC3");
    EXPECT_EQ(InterfaceText("当前标签"), "\xB5\xB1\xC7\xB0\xB1\xEA\xC7\xA9");
}

TEST(BoolWord, TrueAndFalseInEachCodePage) {
    struct Case {
        CodePage codePage;
        std::string trueWord;
        std::string falseWord;
    };
    const Case cases[] = {
        {CodePage::Utf8, "真", "假"},
        {CodePage::Gbk, "\xD5\xE6", "\xBC\xD9"},
    };
    for (const Case& c : cases) {
        const CodePageScope scope(c.codePage);
        EXPECT_EQ(BoolWord(true), c.trueWord);
        EXPECT_EQ(BoolWord(false), c.falseWord);
        EXPECT_TRUE(IsTrueWord(c.trueWord));
        EXPECT_FALSE(IsTrueWord(c.falseWord));
    }
}

TEST(IsTrueWord, OnlyTheExactWordIsTrue) {
    for (const char* value : {"", "1", "true", "TRUE", "真 ", " 真", "真真", "\xD5\xE6"}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(IsTrueWord(value));
    }
    const CodePageScope scope(CodePage::Gbk);
    EXPECT_FALSE(IsTrueWord("真"));
}

} // namespace
} // namespace quorvel::text
