#include "DocumentTestSupport.h"

#include <algorithm>

namespace quorvel::testing {
namespace {

struct ReadCase {
    const char* name;
    std::string file;
    Text label;
    bool found;
    Text text;
    CodePage codePage = CodePage::Utf8;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class ReadSectionCases : public DocumentTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadSectionCases, FindsTheSectionText) {
    const ReadCase& c = GetParam();
    const CodePageScope codePage(c.codePage);
    Seed(c.file);
    const store::SectionRead read = store::ReadSection(path_, c.label);
    EXPECT_EQ(read.found, c.found);
    EXPECT_EQ(read.text, c.text);
    EXPECT_EQ(Bytes(), c.file);
}

const ReadCase kReadCases[] = {
    {"MiddleSection", "[#a]\r\none\r\n[#b]\r\ntwo\r\n[#c]\r\nthree", "b", true, "two"},
    {"LastSectionToEndOfFile", "[#a]\r\none\r\n[#b]\r\ntwo", "b", true, "two"},
    {"AppendedBreakIsPartOfLastText", "[#a]\r\ntext\r\n", "a", true, "text\r\n"},
    {"HeaderFollowedByHeader", "[#a]\r\n[#b]\r\ntwo", "a", true, ""},
    {"HeaderFollowedByHeaderLf", "[#a]\n[#b]\ntwo", "a", true, ""},
    {"HeaderEndsFileWithBreak", "[#x]\r\none\r\n[#a]\r\n", "a", true, ""},
    {"HeaderAtEndOfFileWithoutBreak", "[#x]\r\none\r\n[#a]", "a", true, ""},
    {"BytesBeforeFirstHeaderBelongToNone", "intro\r\n[#a]\r\none", "a", true, "one"},
    {"LfSection", "[#a]\none\n[#b]\ntwo", "a", true, "one"},
    {"MixedBreaks", "[#a]\nx\r\ny\n[#b]\r\ntwo", "a", true, "x\r\ny"},
    {"TextWithHeaderMidLine", "[#a]\r\nx [#b] y\r\nz\r\n[#b]\r\ntwo", "a", true, "x [#b] y\r\nz"},
    {"LineStartingWithHeaderOpenEndsText", "[#a]\r\none\r\n[#note\r\nmore", "a", true, "one"},
    {"LabelHoldingHeaderOpen", "[#x[#y]\r\ninner\r\n", "x[#y", true, "inner\r\n"},
    {"FirstOfTwoEqualLabels", "[#a]\r\nfirst\r\n[#a]\r\nsecond", "a", true, "first"},
    {"CaseMatters", "[#A]\r\nupper\r\n[#a]\r\nlower", "a", true, "lower"},
    {"EmptyLabel", "[#]\r\nnone", "", true, "none"},
    {"TextStopsAtZeroByte", "[#a]\r\none\0two\r\n[#b]"s, "a", true, "one"},
    {"TextStartingWithZeroByte", "[#a]\r\n\0two"s, "a", true, ""},
    {"HeaderAfterZeroByteFound", "[#a]\r\n\0\r\n[#b]\r\ntwo"s, "b", true, "two"},
    {"QuotedMidLineNotFound", "[#x]\r\nsee [#a] there\r\n", "a", false, ""},
    {"BytesAfterBracketNotFound", "[#a] x\r\ntext", "a", false, ""},
    {"LabelOfBracketedLineNotFound", "[#a] x\r\ntext", "a] ", false, ""},
    {"LoneCrAfterHeaderNotFound", "[#a]\rtext", "a", false, ""},
    {"TwoCrsBeforeLfNotFound", "[#a]\r\r\ntext", "a", false, ""},
    {"LabelWithLineBreakNotFound", "[#a\r\nb]\r\ntext", "a\r\nb", false, ""},
    {"EmptyFile", "", "a", false, ""},
    {"TrailByteBracketGbk", "x\x81[#a]\r\none", "a", false, "", CodePage::Gbk},
    {"TrailByteBracketUtf8", "x\x81[#a]\r\none", "a", false, "", CodePage::Utf8},
    {"GbkLabel", "[#\xb1\xea]\r\n\xc7\xa9\r\n[#b]", "\xb1\xea", true, "\xc7\xa9", CodePage::Gbk},
    // Lines are cut at LF bytes alone, whatever byte comes before the LF.
    {"LineAfterLeadByteAndLf", "\x81\n[#a]\r\none", "a", true, "one", CodePage::Gbk},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadSectionCases, ::testing::ValuesIn(kReadCases), CaseName());

class ReadDocument : public DocumentTest {};

TEST_F(ReadDocument, MissingFileReadsAsEmpty) {
    EXPECT_FALSE(store::ReadSection(path_, "a").found);
    EXPECT_EQ(store::ReadWholeDocument(path_), "");
    EXPECT_FALSE(Exists());
}

TEST_F(ReadDocument, WholeDocumentStopsAtZeroByte) {
    WriteBytes(path_, "intro\r\n[#a]\r\none\0[#b]\r\n"s);
    EXPECT_EQ(store::ReadWholeDocument(path_), "intro\r\n[#a]\r\none");
    WriteBytes(path_, "x\r\r\ny\x1a\xff");
    EXPECT_EQ(store::ReadWholeDocument(path_), "x\r\r\ny\x1a\xff");
}

// Streaming gives exactly what ReadWholeDocument gives, whatever the size and wherever the zero
// byte falls against the pieces it is read in.
struct StreamCase {
    const char* name;
    std::optional<std::string> file; // nullopt: missing
    std::string expected;
};

const std::size_t kPiece = std::size_t{1} << 20;

const StreamCase kStreamCases[] = {
    {"Missing", std::nullopt, ""},
    {"Empty", "", ""},
    {"Small", "intro\r\n[#a]\r\none\x1a\xff", "intro\r\n[#a]\r\none\x1a\xff"},
    {"ZeroByteInTheFirstPiece", "ab\0cd"s, "ab"},
    {"ZeroByteFirst", "\0abc"s, ""},
    {"ZeroByteOpensTheSecondPiece", std::string(kPiece, 'x') + "\0tail"s, std::string(kPiece, 'x')},
    {"ZeroByteInTheThirdPiece", std::string(2 * kPiece + 7, 'y') + "\0z"s,
     std::string(2 * kPiece + 7, 'y')},
    {"SeveralPiecesWithoutZeroByte", std::string(3 * kPiece + 1, 'w'),
     std::string(3 * kPiece + 1, 'w')},
};

class StreamWholeDocumentCases : public DocumentTest,
                                 public ::testing::WithParamInterface<StreamCase> {};

TEST_P(StreamWholeDocumentCases, GivesWhatReadingWholeGives) {
    const StreamCase& c = GetParam();
    Seed(c.file);
    std::string streamed;
    std::size_t largestPiece = 0;
    const auto outcome = store::StreamWholeDocument(path_, [&](std::string_view piece) {
        streamed.append(piece);
        largestPiece = std::max(largestPiece, piece.size());
        return true;
    });
    EXPECT_EQ(outcome, store::StreamOutcome::Done);
    EXPECT_TRUE(streamed == c.expected) << streamed.size() << " bytes";
    EXPECT_TRUE(store::ReadWholeDocument(path_) == c.expected);
    EXPECT_LE(largestPiece, kPiece);
}

INSTANTIATE_TEST_SUITE_P(Cases, StreamWholeDocumentCases, ::testing::ValuesIn(kStreamCases),
                         CaseName());

TEST_F(ReadDocument, StreamingStopsWhenTheSinkRefuses) {
    WriteBytes(path_, std::string(3 * kPiece, 'x'));
    int pieces = 0;
    EXPECT_EQ(store::StreamWholeDocument(path_,
                                         [&](std::string_view) {
                                             ++pieces;
                                             return false;
                                         }),
              store::StreamOutcome::Stopped);
    EXPECT_EQ(pieces, 1);
}

TEST_F(ReadDocument, StreamingADirectoryFails) {
    EXPECT_EQ(store::StreamWholeDocument(dir_.path(), [](std::string_view) { return true; }),
              store::StreamOutcome::ReadFailed);
}

struct LabelCase {
    const char* name;
    Text label;
    bool valid;
};

const LabelCase kLabelCases[] = {
    {"Plain", "shopping", true},       {"Empty", "", true},
    {"Blanks", " a b ", true},         {"Brackets", "[#a]", true},
    {"Gbk", "\xB1\xCA\xBC\xC7", true}, {"HighBytes", "\xff\x80\x1b", true},
    {"LineFeed", "a\nb", false},       {"CarriageReturn", "a\r", false},
    {"ZeroByte", "a\0b"s, false},      {"EndOfFileByte", "\x1a", false},
};

class IsValidLabelCases : public ::testing::TestWithParam<LabelCase> {};

TEST_P(IsValidLabelCases, RefusesWhatAHeaderLineCannotHold) {
    EXPECT_EQ(store::IsValidLabel(GetParam().label), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Cases, IsValidLabelCases, ::testing::ValuesIn(kLabelCases), CaseName());

} // namespace
} // namespace quorvel::testing
