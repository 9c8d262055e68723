#include "text/TextOps.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvel::text {
namespace {

using testing::CaseName;
using testing::CodePageScope;
constexpr std::size_t npos = std::string_view::npos;

struct CaseFoldCase {
    const char* name;
    CodePage codePage;
    std::string value;
    std::string lower;
    std::string upper;
};

class CaseFoldTest : public ::testing::TestWithParam<CaseFoldCase> {};

TEST_P(CaseFoldTest, FoldsOnlySingleByteAsciiLetters) {
    const CaseFoldCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(ToAsciiLower(c.value), c.lower);
    EXPECT_EQ(ToAsciiUpper(c.value), c.upper);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CaseFoldTest,
    ::testing::Values(
        CaseFoldCase{"AsciiSentence", CodePage::Utf8, "Hello, World 9!", "hello, world 9!",
                     "HELLO, WORLD 9!"},
        CaseFoldCase{"AsciiBetweenCharacters", CodePage::Utf8, "配Ab置", "配ab置", "配AB置"},
        // Letters outside A to Z stay, in any code page.
        CaseFoldCase{"AccentedLettersStay", CodePage::Utf8, "\xC3\x89\xC3\xA9", "\xC3\x89\xC3\xA9",
                     "\xC3\x89\xC3\xA9"},
        CaseFoldCase{"NeighboursOfLettersStay", CodePage::Utf8, "@[`{", "@[`{", "@[`{"},
        // In UTF-8 0x81 is a byte of its own, so the letter after it is a character.
        CaseFoldCase{"Utf8LoneByteThenLetter", CodePage::Utf8,
                     "\x81"
                     "A\x81"
                     "a",
                     "\x81"
                     "a\x81"
                     "a",
                     "\x81"
                     "A\x81"
                     "A"},
        // In code page 936 the letter after 0x81 is the trail byte of a character.
        CaseFoldCase{"GbkTrailByteLetters", CodePage::Gbk,
                     "\x81"
                     "A\x81"
                     "a",
                     "\x81"
                     "A\x81"
                     "a",
                     "\x81"
                     "A\x81"
                     "a"},
        CaseFoldCase{"GbkTrailByteAmongLetters", CodePage::Gbk,
                     "Q\x81"
                     "Ab",
                     "q\x81"
                     "Ab",
                     "Q\x81"
                     "AB"},
        CaseFoldCase{"GbkLettersBetweenCharacters", CodePage::Gbk, "\xC5\xE4Xy\xD6\xC3",
                     "\xC5\xE4xy\xD6\xC3", "\xC5\xE4XY\xD6\xC3"},
        CaseFoldCase{"GbkLeadByteAtEnd", CodePage::Gbk, "Ab\x81", "ab\x81", "AB\x81"}),
    CaseName());

struct EqualCase {
    const char* name;
    CodePage codePage;
    std::string a;
    std::string b;
    bool exact;
    bool ignoringCase;
};

class EqualTextTest : public ::testing::TestWithParam<EqualCase> {};

TEST_P(EqualTextTest, ComparesBytesOrFoldedAsciiLetters) {
    const EqualCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(EqualText(c.a, c.b, CaseSensitivity::Exact), c.exact);
    EXPECT_EQ(EqualText(c.a, c.b, CaseSensitivity::IgnoreAsciiCase), c.ignoringCase);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EqualTextTest,
    ::testing::Values(EqualCase{"SameBytes", CodePage::Utf8, "Label", "Label", true, true},
                      EqualCase{"DifferentCase", CodePage::Utf8, "Label", "lABEL", false, true},
                      EqualCase{"TrailingSpace", CodePage::Utf8, "Label", "Label ", false, false},
                      EqualCase{"BothEmpty", CodePage::Utf8, "", "", true, true},
                      EqualCase{"Utf8LoneByteThenLetter", CodePage::Utf8,
                                "\x81"
                                "A",
                                "\x81"
                                "a",
                                false, true},
                      EqualCase{"GbkTrailByteLetterNotFolded", CodePage::Gbk,
                                "\x81"
                                "A",
                                "\x81"
                                "a",
                                false, false},
                      EqualCase{"GbkLetterBeforeCharacter", CodePage::Gbk, "A\xC5\xE4", "a\xC5\xE4",
                                false, true},
                      EqualCase{"BracketAndBrace", CodePage::Gbk, "[", "{", false, false}),
    CaseName());

struct FindCase {
    const char* name;
    CodePage codePage;
    std::string haystack;
    std::string needle;
    std::size_t from;
    CaseSensitivity sensitivity;
    std::size_t expected;
};

class FindTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, MatchesOnlyAtCharacterStarts) {
    const FindCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(FindText(c.haystack, c.needle, c.from, c.sensitivity), c.expected);
}

constexpr auto kExact = CaseSensitivity::Exact;
constexpr auto kIgnore = CaseSensitivity::IgnoreAsciiCase;

INSTANTIATE_TEST_SUITE_P(
    Utf8, FindTextTest,
    ::testing::Values(
        FindCase{"Found", CodePage::Utf8, "abcabc", "bc", 0, kExact, 1},
        FindCase{"FoundFromLater", CodePage::Utf8, "abcabc", "bc", 2, kExact, 4},
        FindCase{"NotFound", CodePage::Utf8, "abcabc", "bd", 0, kExact, npos},
        FindCase{"NeedleLongerThanText", CodePage::Utf8, "abc", "abcd", 0, kExact, npos},
        FindCase{"FromTheEnd", CodePage::Utf8, "abc", "c", 3, kExact, npos},
        FindCase{"EmptyNeedle", CodePage::Utf8, "abc", "", 2, kExact, 2},
        FindCase{"AfterCharacters", CodePage::Utf8, "配置[#a]", "[#a]", 0, kExact, 6},
        FindCase{"AfterLoneByte", CodePage::Utf8,
                 "\x81"
                 "AA",
                 "A", 0, kExact, 1},
        FindCase{"IgnoringCase", CodePage::Utf8, "xyABC", "abc", 0, kIgnore, 2},
        FindCase{"CaseDiffersExact", CodePage::Utf8, "xyABC", "abc", 0, kExact, npos}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Gbk, FindTextTest,
    ::testing::Values(
        // "[" as the trail byte of a character never starts a header.
        FindCase{"BracketAsTrailByte", CodePage::Gbk, "\x81[#a]", "[#a]", 0, kExact, npos},
        FindCase{"HeaderAfterTrailBracket", CodePage::Gbk, "\x81[#a][#a]", "[#a]", 0, kExact, 5},
        FindCase{"LetterAsTrailByte", CodePage::Gbk,
                 "\x81"
                 "AA",
                 "A", 0, kExact, 2},
        // A two-byte needle whose bytes straddle two characters.
        FindCase{"StraddlesTwoCharacters", CodePage::Gbk, "\xB0\xA1\xA1", "\xA1\xA1", 0, kExact,
                 npos},
        FindCase{"AfterStraddle", CodePage::Gbk, "\xB0\xA1\xA1\xA1\xA1", "\xA1\xA1", 0, kExact, 2},
        FindCase{"SecondCharacter", CodePage::Gbk, "\xC5\xE4\xD6\xC3", "\xD6\xC3", 0, kExact, 2},
        // Ignoring case never folds a trail byte, in the haystack or in the needle.
        FindCase{"TrailByteInTextNotFolded", CodePage::Gbk,
                 "\x81"
                 "a",
                 "A", 0, kIgnore, npos},
        FindCase{"MatchAfterTrailByte", CodePage::Gbk,
                 "\x81"
                 "aA",
                 "a", 0, kIgnore, 2},
        FindCase{"TrailByteInNeedleNotFolded", CodePage::Gbk,
                 "\x81"
                 "a",
                 "\x81"
                 "A",
                 0, kIgnore, npos},
        FindCase{"TrailByteInNeedleAfterLetter", CodePage::Gbk,
                 "X\x81"
                 "A",
                 "\x81"
                 "A",
                 0, kIgnore, 1},
        FindCase{"LabelAfterCharacter", CodePage::Gbk, "\xC5\xE4LaBeL", "label", 0, kIgnore, 2}),
    CaseName());

TEST(FindLastChar, FindsTheLastSingleByteCharacter) {
    struct Case {
        CodePage codePage;
        std::string haystack;
        std::size_t expected;
    };
    const Case cases[] = {
        {CodePage::Utf8, "a/b/c", 3},     {CodePage::Utf8, "abc", npos},
        {CodePage::Utf8, "", npos},       {CodePage::Utf8, "a/b\x81/", 4},
        {CodePage::Gbk, "a/b\x81/", 1},   {CodePage::Gbk, "\x81/", npos},
        {CodePage::Gbk, "\xC5\xE4/x", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.haystack);
        const CodePageScope scope(c.codePage);
        EXPECT_EQ(FindLastChar(c.haystack, '/'), c.expected);
    }
}

TEST(SplitText, SplitsAtSeparatorsThatAreCharacters) {
    using Pieces = std::vector<std::string_view>;
    struct Case {
        CodePage codePage;
        std::string value;
        Pieces expected;
    };
    const Case cases[] = {
        {CodePage::Utf8, "a|b|c", {"a", "b", "c"}},
        {CodePage::Utf8, "", {""}},
        {CodePage::Utf8, "||", {"", "", ""}},
        {CodePage::Utf8, "a|", {"a", ""}},
        {CodePage::Utf8, "a|\x81|b", {"a", "\x81", "b"}},
        {CodePage::Gbk, "a|\x81|b|", {"a", "\x81|b", ""}},
        {CodePage::Gbk, "\xC5\xE4|\xD6\xC3", {"\xC5\xE4", "\xD6\xC3"}},
        {CodePage::Gbk, "x|\x81", {"x", "\x81"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const CodePageScope scope(c.codePage);
        EXPECT_EQ(SplitText(c.value, '|'), c.expected);
    }
}

TEST(CutAtCharBoundary, KeepsWholeCharactersOnly) {
    struct Case {
        CodePage codePage;
        std::string value;
        std::size_t maxBytes;
        std::string expected;
    };
    const Case cases[] = {
        {CodePage::Utf8, "abc", 5, "abc"},
        {CodePage::Utf8, "abc", 3, "abc"},
        {CodePage::Utf8, "abc", 2, "ab"},
        {CodePage::Utf8, "abc", 0, ""},
        {CodePage::Utf8, "a配", 3, "a"},
        {CodePage::Utf8, "a配", 4, "a配"},
        {CodePage::Utf8, "a\x80\x80", 2, "a\x80"},
        {CodePage::Gbk, "ab\xC5\xE4", 3, "ab"},
        {CodePage::Gbk, "ab\xC5\xE4", 4, "ab\xC5\xE4"},
        {CodePage::Gbk, "\xC5\xE4\xD6\xC3", 3, "\xC5\xE4"},
        {CodePage::Gbk, "\xC5\xE4\xD6\xC3", 1, ""},
        {CodePage::Gbk, "a\x81/b", 2, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value + " / " + std::to_string(c.maxBytes));
        const CodePageScope scope(c.codePage);
        EXPECT_EQ(CutAtCharBoundary(c.value, c.maxBytes), c.expected);
    }
}

} // namespace
} // namespace quorvel::text
