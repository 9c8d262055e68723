#include "ui/ByteCodec.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <QList>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel::ui {
namespace {

using quorvel::testing::CaseName;
using namespace std::string_literals;
using quorvel::testing::CodePageScope;

// The code points DecodeForDisplay gives, surrogate pairs joined.
std::vector<char32_t> CodePoints(const QString& text) {
    std::vector<char32_t> out;
    for (char32_t c : text.toUcs4()) {
        out.push_back(c);
    }
    return out;
}

constexpr char32_t Glyph(unsigned char byte) {
    return 0x10FF00 + byte;
}

struct DecodeCase {
    const char* name;
    CodePage codePage;
    std::string bytes;
    std::vector<char32_t> shown;
};

void PrintTo(const DecodeCase& c, std::ostream* out) {
    *out << c.name;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

// What the screen shows, and that the same bytes come back.
TEST_P(DecodeTest, ShowsCharactersAndGlyphsAndEncodesBack) {
    const DecodeCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    const QString shown = DecodeForDisplay(c.bytes);
    EXPECT_EQ(CodePoints(shown), c.shown);
    EXPECT_EQ(EncodeFromDisplay(shown), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTest,
    ::testing::Values(
        DecodeCase{"Breaks", CodePage::Utf8, "a\r\nb\nc\rd", {'a', 13, 10, 'b', 10, 'c', 13, 'd'}},
        DecodeCase{"Utf8Characters",
                   CodePage::Utf8,
                   "\xE4\xB8\xAD\xC3\xA9\xF0\x9F\x98\x80",
                   {0x4E2D, 0xE9, 0x1F600}},
        DecodeCase{"LoneContinuation",
                   CodePage::Utf8,
                   "a\x80"
                   "b",
                   {'a', Glyph(0x80), 'b'}},
        DecodeCase{
            "TruncatedAtEnd", CodePage::Utf8, "ab\xE4\xB8", {'a', 'b', Glyph(0xE4), Glyph(0xB8)}},
        DecodeCase{"LeadBeforeAscii",
                   CodePage::Utf8,
                   "\xE4"
                   "a",
                   {Glyph(0xE4), 'a'}},
        DecodeCase{"Overlong",
                   CodePage::Utf8,
                   "\xC0\xAF\xE0\x80\xAF",
                   {Glyph(0xC0), Glyph(0xAF), Glyph(0xE0), Glyph(0x80), Glyph(0xAF)}},
        DecodeCase{
            "Surrogate", CodePage::Utf8, "\xED\xA0\x80", {Glyph(0xED), Glyph(0xA0), Glyph(0x80)}},
        DecodeCase{"BeyondUnicode",
                   CodePage::Utf8,
                   "\xF4\x90\x80\x80",
                   {Glyph(0xF4), Glyph(0x90), Glyph(0x80), Glyph(0x80)}},
        // The glyph range itself, written as valid UTF-8, is shown byte by byte.
        DecodeCase{"GlyphRangeAsUtf8",
                   CodePage::Utf8,
                   "\xF4\x8F\xBE\x80",
                   {Glyph(0xF4), Glyph(0x8F), Glyph(0xBE), Glyph(0x80)}},
        DecodeCase{"PrivateUseNeighbours",
                   CodePage::Utf8,
                   "\xF4\x8F\xBD\xBF\xEE\x80\x80",
                   {0x10FF7F, 0xE000}},
        DecodeCase{"ParagraphSeparatorStaysText",
                   CodePage::Utf8,
                   "\xE2\x80\xA9",
                   {Glyph(0xE2), Glyph(0x80), Glyph(0xA9)}},
        DecodeCase{"ControlBytes", CodePage::Utf8, "\0\t\x7F"s, {0, 9, 0x7F}},
        DecodeCase{"GbkCharacters",
                   CodePage::Gbk,
                   "\xD6\xD0\xCE\xC4"
                   "a",
                   {0x4E2D, 0x6587, 'a'}},
        DecodeCase{"GbkPairNotInTable",
                   CodePage::Gbk,
                   "\xD6\xD0\xA1\xA0\xD6\xD0",
                   {0x4E2D, Glyph(0xA1), Glyph(0xA0), 0x4E2D}},
        DecodeCase{"GbkLeadBeforeBreak", CodePage::Gbk, "\x81\r\n", {Glyph(0x81), 13, 10}},
        DecodeCase{"GbkTruncatedAtEnd", CodePage::Gbk, "a\xD6", {'a', Glyph(0xD6)}},
        DecodeCase{"GbkLead80AndFF",
                   CodePage::Gbk,
                   "\x80\x80\xFF"
                   "a",
                   {Glyph(0x80), Glyph(0x80), Glyph(0xFF), 'a'}}),
    CaseName());

TEST(EncodeTest, CharactersTheCodePageCannotHoldBecomeQuestionMarks) {
    {
        const CodePageScope scope(CodePage::Gbk);
        EXPECT_EQ(EncodeFromDisplay(QString::fromUtf8("a\xED\x95\x9C\xF0\x9F\x98\x80\xE4\xB8\xAD")),
                  "a??\xD6\xD0");
    }
    const QString loneSurrogate(QChar(0xD800));
    EXPECT_EQ(EncodeFromDisplay(loneSurrogate), "?");
}

TEST(EncodeTest, EncodedLengthAgreesWithEncode) {
    for (const CodePage codePage : {CodePage::Utf8, CodePage::Gbk}) {
        const CodePageScope scope(codePage);
        for (const char32_t c : {char32_t{'a'}, char32_t{0xE9}, char32_t{0x4E2D}, char32_t{0x1F600},
                                 Glyph(0x80), char32_t{0xD800}}) {
            const QString text = QString::fromUcs4(&c, 1);
            EXPECT_EQ(EncodedLength(c), EncodeFromDisplay(text).size())
                << std::hex << static_cast<std::uint32_t>(c);
        }
    }
}

// Every two-byte sequence and every single byte, in both code pages, comes back unchanged.
TEST(EncodeTest, EveryByteSequenceRoundTrips) {
    std::string all;
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0x30; trail < 256; trail += 3) {
            all += static_cast<char>(lead);
            all += static_cast<char>(trail);
        }
    }
    for (const CodePage codePage : {CodePage::Utf8, CodePage::Gbk}) {
        const CodePageScope scope(codePage);
        EXPECT_EQ(EncodeFromDisplay(DecodeForDisplay(all)), all);
    }
}

} // namespace
} // namespace quorvel::ui
