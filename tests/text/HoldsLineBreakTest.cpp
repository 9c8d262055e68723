#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace quorvel::text {
namespace {

using namespace std::string_literals;
using testing::CodePageScope;

struct LineBreakCase {
    const char* name;
    CodePage codePage;
    std::string value;
    bool holds;
};

void PrintTo(const LineBreakCase& c, std::ostream* os) {
    *os << c.name;
}

const LineBreakCase kLineBreakCases[] = {
    {"Empty", CodePage::Utf8, "", false},
    {"PlainText", CodePage::Utf8, "shopping list", false},
    {"LineFeed", CodePage::Utf8, "a\nb", true},
    {"CarriageReturn", CodePage::Utf8, "a\rb", true},
    {"BreakAtTheEnd", CodePage::Utf8, "label\r\n", true},
    {"BreakAtTheStart", CodePage::Utf8, "\nlabel", true},
    {"ZeroByteIsNoBreak", CodePage::Utf8, "a\0b"s, false},
    {"OtherControlBytesAreNoBreak", CodePage::Utf8, "a\t\v\fb", false},
    {"Utf8Characters", CodePage::Utf8, "标签", false},
    {"Code936Characters", CodePage::Gbk, "\xB1\xEA\xC7\xA9", false},
    // A lead byte would take the LF in as its trail byte, yet the file still breaks there.
    {"LineFeedAfterALeadByte", CodePage::Gbk, "a\x81\nb", true},
    {"CarriageReturnAfterALeadByte", CodePage::Gbk, "\x81\r", true},
};

class HoldsLineBreakTest : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(HoldsLineBreakTest, FindsEveryCrAndLfByte) {
    const LineBreakCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    EXPECT_EQ(HoldsLineBreak(c.value), c.holds);
}

INSTANTIATE_TEST_SUITE_P(Values, HoldsLineBreakTest, ::testing::ValuesIn(kLineBreakCases),
                         quorvel::testing::CaseName());

} // namespace
} // namespace quorvel::text
