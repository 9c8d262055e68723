#include "text/Integer.h"

#include "text/CodePageScope.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace quorvel::text {
namespace {

using testing::CodePageScope;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct IntegerCase {
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
        IntegerCase{CodePage::Utf8, "123", 123}, IntegerCase{CodePage::Utf8, "007", 7},
        IntegerCase{CodePage::Utf8, "  42", 42}, IntegerCase{CodePage::Utf8, "\t -7", -7},
        IntegerCase{CodePage::Utf8, "+5", 5}, IntegerCase{CodePage::Utf8, "12abc", 12},
        IntegerCase{CodePage::Utf8, "5 6", 5},
        // No digits.
        IntegerCase{CodePage::Utf8, "", 0}, IntegerCase{CodePage::Utf8, "  ", 0},
        IntegerCase{CodePage::Utf8, "-", 0}, IntegerCase{CodePage::Utf8, "abc", 0},
        IntegerCase{CodePage::Utf8, "- 5", 0}, IntegerCase{CodePage::Utf8, "+-5", 0},
        IntegerCase{CodePage::Utf8, "0x10", 0}, IntegerCase{CodePage::Utf8, "配5", 0},
        // The ends of the 32-bit range and beyond.
        IntegerCase{CodePage::Utf8, "2147483647", kMax},
        IntegerCase{CodePage::Utf8, "2147483648", kMax},
        IntegerCase{CodePage::Utf8, "-2147483648", kMin},
        IntegerCase{CodePage::Utf8, "-2147483649", kMin},
        IntegerCase{CodePage::Utf8, "4294967297", kMax},
        IntegerCase{CodePage::Utf8, "99999999999999999999999999", kMax},
        IntegerCase{CodePage::Utf8, "-99999999999999999999999999", kMin}));

INSTANTIATE_TEST_SUITE_P(
    FullWidthUtf8, ReadIntegerTest,
    ::testing::Values(IntegerCase{CodePage::Utf8, "１２３", 123},
                      IntegerCase{CodePage::Utf8, "０９８７６５４３２１", 987654321},
                      IntegerCase{CodePage::Utf8, "－４５", -45},
                      IntegerCase{CodePage::Utf8, "＋６", 6},
                      IntegerCase{CodePage::Utf8, "　　７", 7},
                      IntegerCase{CodePage::Utf8, "　 －1２", -12},
                      IntegerCase{CodePage::Utf8, "１２a3", 12},
                      IntegerCase{CodePage::Utf8, "－２１４７４８３６４９", kMin},
                      // The code page 936 forms are no digits in UTF-8.
                      IntegerCase{CodePage::Utf8, "\xA3\xB1", 0}));

INSTANTIATE_TEST_SUITE_P(
    FullWidthGbk, ReadIntegerTest,
    ::testing::Values(IntegerCase{CodePage::Gbk, "\xA3\xB1\xA3\xB2", 12},
                      IntegerCase{CodePage::Gbk, "\xA3\xB0\xA3\xB9", 9},
                      IntegerCase{CodePage::Gbk, "\xA3\xAD\xA3\xB3", -3},
                      IntegerCase{CodePage::Gbk, "\xA3\xAB\xA3\xB4", 4},
                      IntegerCase{CodePage::Gbk, "\xA1\xA1\xA1\xA1\xA3\xB9", 9},
                      IntegerCase{CodePage::Gbk, " \xA1\xA1-8", -8},
                      IntegerCase{CodePage::Gbk, "12", 12},
                      // A digit that is the trail byte of a character is no digit.
                      IntegerCase{CodePage::Gbk,
                                  "\x81"
                                  "5",
                                  0},
                      IntegerCase{CodePage::Gbk,
                                  "1\x81"
                                  "2",
                                  1},
                      IntegerCase{CodePage::Gbk, "3\x81", 3},
                      // The UTF-8 forms are no digits in code page 936.
                      IntegerCase{CodePage::Gbk, "１", 0}));

} // namespace
} // namespace quorvel::text
