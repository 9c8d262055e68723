#include "text/Integer.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace quorvel::text {
namespace {

using testing::CaseName;
using testing::CodePageScope;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct IntegerCase {
    const char* name;
    CodePage codePage;
    std::string value;
    std::int32_t expected;
};

class ReadIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ReadIntegerTest, ReadsTheLeadingNumber) {
    const IntegerCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(ReadInteger(c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ascii, ReadIntegerTest,
    ::testing::Values(
        IntegerCase{"Plain", CodePage::Utf8, "123", 123},
        IntegerCase{"LeadingZeros", CodePage::Utf8, "007", 7},
        IntegerCase{"LeadingSpaces", CodePage::Utf8, "  42", 42},
        IntegerCase{"TabSpaceMinus", CodePage::Utf8, "\t -7", -7},
        IntegerCase{"PlusSign", CodePage::Utf8, "+5", 5},
        IntegerCase{"LettersAfter", CodePage::Utf8, "12abc", 12},
        IntegerCase{"StopsAtSpace", CodePage::Utf8, "5 6", 5},
        // No digits.
        IntegerCase{"Empty", CodePage::Utf8, "", 0},
        IntegerCase{"OnlySpaces", CodePage::Utf8, "  ", 0},
        IntegerCase{"OnlyMinus", CodePage::Utf8, "-", 0},
        IntegerCase{"OnlyLetters", CodePage::Utf8, "abc", 0},
        IntegerCase{"SpaceAfterSign", CodePage::Utf8, "- 5", 0},
        IntegerCase{"TwoSigns", CodePage::Utf8, "+-5", 0},
        IntegerCase{"HexPrefix", CodePage::Utf8, "0x10", 0},
        IntegerCase{"CharacterFirst", CodePage::Utf8, "配5", 0},
        // The ends of the 32-bit range and beyond.
        IntegerCase{"Max", CodePage::Utf8, "2147483647", kMax},
        IntegerCase{"PastMax", CodePage::Utf8, "2147483648", kMax},
        IntegerCase{"Min", CodePage::Utf8, "-2147483648", kMin},
        IntegerCase{"PastMin", CodePage::Utf8, "-2147483649", kMin},
        IntegerCase{"Past32Bits", CodePage::Utf8, "4294967297", kMax},
        IntegerCase{"HugePositive", CodePage::Utf8, "99999999999999999999999999", kMax},
        IntegerCase{"HugeNegative", CodePage::Utf8, "-99999999999999999999999999", kMin}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    FullWidthUtf8, ReadIntegerTest,
    ::testing::Values(IntegerCase{"Digits", CodePage::Utf8, "１２３", 123},
                      IntegerCase{"AllTenDigits", CodePage::Utf8, "０９８７６５４３２１",
                                  987654321},
                      IntegerCase{"Minus", CodePage::Utf8, "－４５", -45},
                      IntegerCase{"Plus", CodePage::Utf8, "＋６", 6},
                      IntegerCase{"FullWidthSpaces", CodePage::Utf8, "　　７", 7},
                      IntegerCase{"MixedWidths", CodePage::Utf8, "　 －1２", -12},
                      IntegerCase{"LetterAfter", CodePage::Utf8, "１２a3", 12},
                      IntegerCase{"PastMin", CodePage::Utf8, "－２１４７４８３６４９", kMin},
                      // The code page 936 forms are no digits in UTF-8.
                      IntegerCase{"Gbk936FormIsNoDigit", CodePage::Utf8, "\xA3\xB1", 0}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    FullWidthGbk, ReadIntegerTest,
    ::testing::Values(IntegerCase{"Digits", CodePage::Gbk, "\xA3\xB1\xA3\xB2", 12},
                      IntegerCase{"LeadingZero", CodePage::Gbk, "\xA3\xB0\xA3\xB9", 9},
                      IntegerCase{"Minus", CodePage::Gbk, "\xA3\xAD\xA3\xB3", -3},
                      IntegerCase{"Plus", CodePage::Gbk, "\xA3\xAB\xA3\xB4", 4},
                      IntegerCase{"FullWidthSpaces", CodePage::Gbk, "\xA1\xA1\xA1\xA1\xA3\xB9", 9},
                      IntegerCase{"MixedSpacesAsciiMinus", CodePage::Gbk, " \xA1\xA1-8", -8},
                      IntegerCase{"AsciiDigits", CodePage::Gbk, "12", 12},
                      // A digit that is the trail byte of a character is no digit.
                      IntegerCase{"TrailByteDigitFirst", CodePage::Gbk,
                                  "\x81"
                                  "5",
                                  0},
                      IntegerCase{"TrailByteDigitAfterDigit", CodePage::Gbk,
                                  "1\x81"
                                  "2",
                                  1},
                      IntegerCase{"LoneLeadByteAfterDigit", CodePage::Gbk, "3\x81", 3},
                      // The UTF-8 forms are no digits in code page 936.
                      IntegerCase{"Utf8FormIsNoDigit", CodePage::Gbk, "１", 0}),
    CaseName());

} // namespace
} // namespace quorvel::text
