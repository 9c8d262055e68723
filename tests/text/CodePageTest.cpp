#include "text/CodePage.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace quorvel::text {
namespace {

using testing::CaseName;
using testing::CodePageScope;

struct DetectCase {
    const char* name;
    const char* overrideValue;
    const char* localeCodeset;
    CodePage expected;
};

class DetectCodePageTest : public ::testing::TestWithParam<DetectCase> {};

TEST_P(DetectCodePageTest, OverrideWinsThenLocaleCodesetThenUtf8) {
    const DetectCase& c = GetParam();
    EXPECT_EQ(DetectCodePage(c.overrideValue, c.localeCodeset), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DetectCodePageTest,
    ::testing::Values(
        // Neither given.
        DetectCase{"NeitherGiven", nullptr, nullptr, CodePage::Utf8},
        DetectCase{"BothEmpty", "", "", CodePage::Utf8},
        // The override, whatever the locale says.
        DetectCase{"Override936", "936", nullptr, CodePage::Gbk},
        DetectCase{"Override936OverUtf8Locale", "936", "UTF-8", CodePage::Gbk},
        DetectCase{"OverrideUtf8OverGbkLocale", "utf-8", "GBK", CodePage::Utf8},
        DetectCase{"OverrideUtf8UpperOverGb18030", "UTF-8", "GB18030", CodePage::Utf8},
        DetectCase{"OverrideUtf8NoDashOverCp936", "utf8", "CP936", CodePage::Utf8},
        // An empty or unknown override leaves the choice to the locale.
        DetectCase{"EmptyOverrideGbkLocale", "", "GBK", CodePage::Gbk},
        DetectCase{"UnknownOverrideGbkLocale", "latin1", "GBK", CodePage::Gbk},
        DetectCase{"UnknownOverrideUtf8Locale", "latin1", "UTF-8", CodePage::Utf8},
        // Locale codesets.
        DetectCase{"LocaleGbk", nullptr, "GBK", CodePage::Gbk},
        DetectCase{"LocaleGbkLowerCase", nullptr, "gbk", CodePage::Gbk},
        DetectCase{"LocaleGb2312", nullptr, "GB2312", CodePage::Gbk},
        DetectCase{"LocaleGb18030", nullptr, "GB18030", CodePage::Gbk},
        DetectCase{"LocaleCp936", nullptr, "CP936", CodePage::Gbk},
        DetectCase{"LocaleUtf8", nullptr, "UTF-8", CodePage::Utf8},
        DetectCase{"LocaleAscii", nullptr, "ANSI_X3.4-1968", CodePage::Utf8},
        DetectCase{"LocaleLatin1", nullptr, "ISO-8859-1", CodePage::Utf8},
        DetectCase{"LocaleBig5", nullptr, "BIG5", CodePage::Utf8}),
    CaseName());

// Sets an environment variable for one test and puts the old value back.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;
    ~EnvironmentScope() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DetectCodePageFromEnvironment, ReadsTheOverrideAndLeavesTheLocaleAsItWas) {
    const EnvironmentScope locale("LC_ALL", "C.UTF-8");
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    {
        const EnvironmentScope codePage("QUORVEL_CODEPAGE", "936");
        EXPECT_EQ(DetectCodePageFromEnvironment(), CodePage::Gbk);
    }
    {
        const EnvironmentScope codePage("QUORVEL_CODEPAGE", "utf-8");
        EXPECT_EQ(DetectCodePageFromEnvironment(), CodePage::Utf8);
    }
    {
        const EnvironmentScope codePage("QUORVEL_CODEPAGE", nullptr);
        EXPECT_EQ(DetectCodePageFromEnvironment(), CodePage::Utf8);
    }
    EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), before);
}

TEST(DetectCodePageFromEnvironment, TakesTheCodesetOfTheLocaleNamedInTheEnvironment) {
    // Whether or not a locale is installed, its name says which code page the user works in.
    struct Case {
        const char* locale;
        const char* overrideValue;
        CodePage expected;
    };
    const Case cases[] = {
        {"C", nullptr, CodePage::Utf8},           {"C.UTF-8", nullptr, CodePage::Utf8},
        {"zh_CN.GBK", nullptr, CodePage::Gbk},    {"zh_CN.gb18030@stroke", nullptr, CodePage::Gbk},
        {"zh_CN.GB2312", nullptr, CodePage::Gbk}, {"zh_TW.BIG5", nullptr, CodePage::Utf8},
        {"zh_CN.GBK", "utf-8", CodePage::Utf8},   {"C.UTF-8", "936", CodePage::Gbk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        const EnvironmentScope locale("LC_ALL", c.locale);
        const EnvironmentScope codePage("QUORVEL_CODEPAGE", c.overrideValue);
        EXPECT_EQ(DetectCodePageFromEnvironment(), c.expected);
    }
}

struct LengthCase {
    const char* name;
    CodePage codePage;
    std::string text;
    std::size_t pos;
    std::size_t expected;
};

class CharLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(CharLengthTest, CountsTheBytesOfTheCharacterAtPos) {
    const LengthCase& c = GetParam();
    EXPECT_EQ(CharLength(c.codePage, c.text, c.pos), c.expected);
    // The overload without a code page uses the active one.
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(CharLength(c.text, c.pos), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, CharLengthTest,
    ::testing::Values(LengthCase{"Ascii", CodePage::Utf8, "a", 0, 1},
                      LengthCase{"TwoBytes", CodePage::Utf8, "\xC3\xA9", 0, 2},
                      LengthCase{"ThreeBytes", CodePage::Utf8, "配置", 0, 3},
                      LengthCase{"ThreeBytesAfterAscii", CodePage::Utf8, "a配", 1, 3},
                      LengthCase{"FourBytes", CodePage::Utf8, "\xF0\x9F\x98\x80", 0, 4},
                      // Bytes that cannot start a character.
                      LengthCase{"ContinuationByte", CodePage::Utf8, "\x80\x80", 0, 1},
                      LengthCase{"OverlongC0", CodePage::Utf8, "\xC0\x80", 0, 1},
                      LengthCase{"OverlongC1", CodePage::Utf8, "\xC1\xBF", 0, 1},
                      LengthCase{"PastUnicodeF5", CodePage::Utf8, "\xF5\x80\x80\x80", 0, 1},
                      LengthCase{"ByteFF", CodePage::Utf8, "\xFF", 0, 1},
                      // A lead byte without its continuation bytes.
                      LengthCase{"TwoByteLeadAlone", CodePage::Utf8,
                                 "\xC3"
                                 "A",
                                 0, 1},
                      LengthCase{"ThreeByteLeadCutShort", CodePage::Utf8,
                                 "\xE9\x85"
                                 "A",
                                 0, 1},
                      LengthCase{"FourByteLeadCutShort", CodePage::Utf8,
                                 "\xF0\x9F\x98"
                                 "A",
                                 0, 1},
                      // A character cut short by the end of the text.
                      LengthCase{"ThreeBytesCutByEnd", CodePage::Utf8, "a\xE9\x85", 1, 1},
                      LengthCase{"FourBytesCutByEnd", CodePage::Utf8, "a\xF0\x9F\x98", 1, 1},
                      LengthCase{"LeadByteAtEnd", CodePage::Utf8, "a\xC3", 1, 1},
                      // At or past the end.
                      LengthCase{"AtTheEnd", CodePage::Utf8, "ab", 2, 1},
                      LengthCase{"EmptyText", CodePage::Utf8, "", 0, 1}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Gbk, CharLengthTest,
    ::testing::Values(LengthCase{"Ascii", CodePage::Gbk, "A", 0, 1},
                      LengthCase{"DoubleByte", CodePage::Gbk, "\xC5\xE4\xD6\xC3", 0, 2},
                      LengthCase{"SecondDoubleByte", CodePage::Gbk, "\xC5\xE4\xD6\xC3", 2, 2},
                      // Any byte of 0x80 or more takes the next byte, whatever it is.
                      LengthCase{"LeadWithSlash", CodePage::Gbk, "\x81/", 0, 2},
                      LengthCase{"LeadWithLetter", CodePage::Gbk,
                                 "\x81"
                                 "A",
                                 0, 2},
                      LengthCase{"Lead80WithAt", CodePage::Gbk, "\x80@", 0, 2},
                      LengthCase{"LeadFFWithFF", CodePage::Gbk, "\xFF\xFF", 0, 2},
                      // A lead byte that ends the text.
                      LengthCase{"LeadByteEndsText", CodePage::Gbk, "ab\xC5", 2, 1},
                      LengthCase{"OnlyALeadByte", CodePage::Gbk, "\xC5", 0, 1},
                      LengthCase{"PastTheEnd", CodePage::Gbk, "ab", 5, 1}),
    CaseName());

TEST(CharLength, SameBytesStepDifferentlyInTheTwoCodePages) {
    // "配" in code page 936 is not a UTF-8 character, and "配" in UTF-8 is one and a half
    // characters of code page 936.
    EXPECT_EQ(CharLength(CodePage::Utf8, "\xC5\xE4", 0), 1u);
    EXPECT_EQ(CharLength(CodePage::Gbk, "\xE9\x85\x8D", 0), 2u);
    EXPECT_EQ(CharLength(CodePage::Gbk, "\xE9\x85\x8D", 2), 1u);
}

TEST(ActiveCodePage, IsUtf8UntilSet) {
    EXPECT_EQ(ActiveCodePage(), CodePage::Utf8);
    {
        const CodePageScope scope(CodePage::Gbk);
        EXPECT_EQ(ActiveCodePage(), CodePage::Gbk);
    }
    EXPECT_EQ(ActiveCodePage(), CodePage::Utf8);
}

} // namespace
} // namespace quorvel::text
