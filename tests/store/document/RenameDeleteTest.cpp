#include "DocumentTestSupport.h"

namespace quorvel::testing {
namespace {

using store::DeleteOutcome;
using store::RenameOutcome;

struct RenameCase {
    const char* name;
    std::optional<std::string> file;
    Text oldLabel;
    Text newLabel;
    RenameOutcome outcome;
    std::optional<std::string> fileAfter;
    CodePage codePage = CodePage::Utf8;
    friend void PrintTo(const RenameCase& c, std::ostream* os) { *os << c.name; }
};

class RenameCases : public DocumentTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameCases, RenamesTheExactHeaderLine) {
    const RenameCase& c = GetParam();
    const CodePageScope codePage(c.codePage);
    Seed(c.file);
    EXPECT_EQ(store::RenameLabel(path_, c.oldLabel, c.newLabel), c.outcome);
    ASSERT_EQ(Exists(), c.fileAfter.has_value());
    if (c.fileAfter) {
        EXPECT_EQ(Bytes(), *c.fileAfter);
    }
    EXPECT_EQ(DirectoryEntries().size(), Exists() ? 1u : 0u);
}

const RenameCase kRenameCases[] = {
    {"Simple", "[#a]\r\none\r\n[#b]\r\ntwo", "a", "c", RenameOutcome::Renamed,
     "[#c]\r\none\r\n[#b]\r\ntwo"},
    {"LfFile", "[#x]\nx\n[#a]\none", "a", "c", RenameOutcome::Renamed, "[#x]\nx\n[#c]\none"},
    {"HeaderAtEndOfFile", "[#x]\r\n[#a]", "a", "longer", RenameOutcome::Renamed,
     "[#x]\r\n[#longer]"},
    {"ExactOneAfterOtherCase", "[#A]\r\nupper\r\n[#a]\r\nlower", "a", "c", RenameOutcome::Renamed,
     "[#A]\r\nupper\r\n[#c]\r\nlower"},
    {"OnlyOtherCaseLeavesFile", "[#A]\r\none", "a", "c", RenameOutcome::Renamed, "[#A]\r\none"},
    {"FirstOfTwoEqualLabels", "[#a]\r\n1\r\n[#a]\r\n2", "a", "c", RenameOutcome::Renamed,
     "[#c]\r\n1\r\n[#a]\r\n2"},
    {"EmptyNewLabel", "[#a]\r\none", "a", "", RenameOutcome::Renamed, "[#]\r\none"},
    // Two sections of one name would leave the second out of reach: the rename is refused.
    {"ExistingNewLabelRefused", "[#a]\r\n1\r\n[#b]\r\n2", "a", "b", RenameOutcome::LabelExists,
     "[#a]\r\n1\r\n[#b]\r\n2"},
    {"NewLabelOnlyInOtherCaseAccepted", "[#a]\r\n1\r\n[#B]\r\n2", "a", "b", RenameOutcome::Renamed,
     "[#b]\r\n1\r\n[#B]\r\n2"},
    {"QuotedNewLabelIsNoHeader", "[#a]\r\nsee [#b]", "a", "b", RenameOutcome::Renamed,
     "[#b]\r\nsee [#b]"},
    {"SameLabelAgain", "[#a]\r\n1", "a", "a", RenameOutcome::Renamed, "[#a]\r\n1"},
    {"QuotedHeaderNotRenamed", "[#x]\r\nsee [#a]\r\n[#a]\r\none", "a", "c", RenameOutcome::Renamed,
     "[#x]\r\nsee [#a]\r\n[#c]\r\none"},
    {"NotFound", "[#a]\r\none", "zz", "c", RenameOutcome::NotFound, "[#a]\r\none"},
    {"QuotedOnlyIsNotFound", "[#x]\r\nsee [#A]", "a", "c", RenameOutcome::NotFound,
     "[#x]\r\nsee [#A]"},
    {"MissingFile", std::nullopt, "a", "c", RenameOutcome::NotFound, std::nullopt},
    {"NewLabelWithLf", "[#a]\r\none", "a", "x\ny", RenameOutcome::InvalidLabel, "[#a]\r\none"},
    {"NewLabelWithCr", "[#a]\r\none", "a", "x\r", RenameOutcome::InvalidLabel, "[#a]\r\none"},
    {"NewLabelWithZeroByte", "[#a]\r\none", "a", "x\0"s, RenameOutcome::InvalidLabel,
     "[#a]\r\none"},
    {"NewLabelWithEndOfFileByte", "[#a]\r\none\r\n[#b]\r\ntwo", "a", "bad\x1a",
     RenameOutcome::InvalidLabel, "[#a]\r\none\r\n[#b]\r\ntwo"},
    // The fold steps by characters: in code page 936 "\x81A" is one character, not folded.
    {"TrailByteNotFoldedGbk",
     "[#\x81"
     "a]\r\none",
     "\x81"
     "A",
     "c", RenameOutcome::NotFound,
     "[#\x81"
     "a]\r\none",
     CodePage::Gbk},
    {"LoneByteThenLetterFoldedUtf8",
     "[#\x81"
     "a]\r\none",
     "\x81"
     "A",
     "c", RenameOutcome::Renamed,
     "[#\x81"
     "a]\r\none",
     CodePage::Utf8},
    {"GbkLabelFoundIgnoringAsciiCase", "[#\xb1\xeaX]\r\n1\r\n[#\xb1\xeax]\r\n2", "\xb1\xeax", "c",
     RenameOutcome::Renamed, "[#\xb1\xeaX]\r\n1\r\n[#c]\r\n2", CodePage::Gbk},
};

INSTANTIATE_TEST_SUITE_P(Cases, RenameCases, ::testing::ValuesIn(kRenameCases), CaseName());

struct DeleteCase {
    const char* name;
    std::optional<std::string> file;
    Text label;
    DeleteOutcome outcome;
    std::optional<std::string> fileAfter;
    friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
};

class DeleteCases : public DocumentTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteCases, RemovesTheExactSection) {
    const DeleteCase& c = GetParam();
    Seed(c.file);
    EXPECT_EQ(store::DeleteSection(path_, c.label), c.outcome);
    ASSERT_EQ(Exists(), c.fileAfter.has_value());
    if (c.fileAfter) {
        EXPECT_EQ(Bytes(), *c.fileAfter);
    }
    EXPECT_EQ(DirectoryEntries().size(), Exists() ? 1u : 0u);
}

const DeleteCase kDeleteCases[] = {
    {"First", "[#a]\r\none\r\n[#b]\r\ntwo", "a", DeleteOutcome::Deleted, "[#b]\r\ntwo"},
    {"Middle", "[#a]\r\none\r\n[#b]\r\ntwo\r\n[#c]\r\n3", "b", DeleteOutcome::Deleted,
     "[#a]\r\none\r\n[#c]\r\n3"},
    {"LastLeavesBreakOfPrevious", "[#a]\r\none\r\n[#b]\r\ntwo", "b", DeleteOutcome::Deleted,
     "[#a]\r\none\r\n"},
    {"HeaderFollowedByHeader", "[#a]\r\n[#b]\r\ntwo", "a", DeleteOutcome::Deleted, "[#b]\r\ntwo"},
    {"LfMiddle", "[#a]\none\n[#b]\ntwo\n[#c]\n3", "b", DeleteOutcome::Deleted,
     "[#a]\none\n[#c]\n3"},
    {"KeepsBytesBeforeFirstHeader", "intro\r\n[#a]\r\none", "a", DeleteOutcome::Deleted,
     "intro\r\n"},
    {"TextWithHeaderMidLineGoesWhole", "[#a]\r\nx [#b] y\r\n[#b]\r\ntwo", "a",
     DeleteOutcome::Deleted, "[#b]\r\ntwo"},
    {"ExactOneAfterOtherCase", "[#A]\r\nupper\r\n[#a]\r\nlower\r\n[#b]\r\nb", "a",
     DeleteOutcome::Deleted, "[#A]\r\nupper\r\n[#b]\r\nb"},
    {"OnlyOtherCaseLeavesFile", "[#A]\r\none", "a", DeleteOutcome::Deleted, "[#A]\r\none"},
    {"FirstOfTwoEqualLabels", "[#a]\r\n1\r\n[#a]\r\n2", "a", DeleteOutcome::Deleted, "[#a]\r\n2"},
    {"NotFound", "[#a]\r\none", "b", DeleteOutcome::NotFound, "[#a]\r\none"},
    {"BracketedLineNotFound", "[#a] x\r\none", "a", DeleteOutcome::NotFound, "[#a] x\r\none"},
    {"MissingFile", std::nullopt, "a", DeleteOutcome::NotFound, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeleteCases, ::testing::ValuesIn(kDeleteCases), CaseName());

class DeleteThenRead : public DocumentTest {};

TEST_F(DeleteThenRead, LastSectionKeepsTheBreakAsText) {
    WriteBytes(path_, "[#a]\r\none\r\n[#b]\r\ntwo");
    ASSERT_EQ(store::DeleteSection(path_, "b"), DeleteOutcome::Deleted);
    const store::SectionRead read = store::ReadSection(path_, "a");
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.text, "one\r\n");
    EXPECT_FALSE(store::ReadSection(path_, "b").found);
}

} // namespace
} // namespace quorvel::testing
