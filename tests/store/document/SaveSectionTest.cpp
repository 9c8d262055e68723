#include "DocumentTestSupport.h"

namespace quorvel::testing {
namespace {

using store::SaveMode;
using store::SaveOutcome;

struct SaveCase {
    const char* name;
    std::optional<std::string> file; // nullopt: the file is missing
    Text label;
    SaveMode mode;
    Text text;
    SaveOutcome outcome;
    std::optional<std::string> fileAfter; // nullopt: still missing
    friend void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }
};

class SaveSectionCases : public DocumentTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveSectionCases, WritesExactlyTheExpectedBytes) {
    const SaveCase& c = GetParam();
    Seed(c.file);
    EXPECT_EQ(store::SaveSection(path_, c.label, c.mode, c.text), c.outcome);
    ASSERT_EQ(Exists(), c.fileAfter.has_value());
    if (c.fileAfter) {
        EXPECT_EQ(Bytes(), *c.fileAfter);
    }
    EXPECT_EQ(DirectoryEntries().size(), Exists() ? 1u : 0u);
}

constexpr SaveMode kSave = SaveMode::Save;
constexpr SaveMode kCreate = SaveMode::Create;

const SaveCase kSaveCases[] = {
    // Nothing to do
    {"EmptyTextKeepsExistingSection", "[#a]\r\nold", "a", kSave, "", SaveOutcome::NothingToSave,
     "[#a]\r\nold"},
    {"EmptyTextCreatesNoFile", std::nullopt, "a", kSave, "", SaveOutcome::NothingToSave,
     std::nullopt},
    {"CreateOnExistingLabel", "[#a]\r\nold", "a", kCreate, "x", SaveOutcome::LabelExists,
     "[#a]\r\nold"},
    {"LabelWithLf", "[#a]\r\nold", "a\nb", kSave, "x", SaveOutcome::InvalidLabel, "[#a]\r\nold"},
    {"LabelWithCr", std::nullopt, "a\r", kCreate, "", SaveOutcome::InvalidLabel, std::nullopt},
    {"LabelWithZeroByte", "[#a]\r\nold", "a\0b"s, kSave, "x", SaveOutcome::InvalidLabel,
     "[#a]\r\nold"},
    {"LabelWithEndOfFileByte", "[#a]\r\nold", "b\x1a", kCreate, "", SaveOutcome::InvalidLabel,
     "[#a]\r\nold"},
    // A new file holds the section alone, without a break after it
    {"CreateOnMissingFile", std::nullopt, "a", kCreate, "ignored", SaveOutcome::CreatedFile,
     "[#a]"},
    {"SaveOnMissingFile", std::nullopt, "a", kSave, "one", SaveOutcome::CreatedFile, "[#a]\r\none"},
    // Appending: a break first unless the file ends with LF, a break after
    {"AppendToEmptyFile", "", "a", kSave, "text", SaveOutcome::Appended, "\r\n[#a]\r\ntext\r\n"},
    {"CreateInEmptyFile", "", "a", kCreate, "", SaveOutcome::Appended, "\r\n[#a]\r\n"},
    {"AppendAfterCrLf", "[#x]\r\none\r\n", "a", kSave, "t", SaveOutcome::Appended,
     "[#x]\r\none\r\n[#a]\r\nt\r\n"},
    {"AppendAfterText", "[#x]\r\none", "a", kSave, "t", SaveOutcome::Appended,
     "[#x]\r\none\r\n[#a]\r\nt\r\n"},
    {"AppendToFileWithoutBreaks", "notes", "a", kSave, "t", SaveOutcome::Appended,
     "notes\r\n[#a]\r\nt\r\n"},
    {"AppendToLfFile", "[#x]\none", "a", kSave, "t", SaveOutcome::Appended, "[#x]\none\n[#a]\nt\n"},
    {"AppendToLfFileEndingWithLf", "[#x]\none\n", "a", kCreate, "", SaveOutcome::Appended,
     "[#x]\none\n[#a]\n"},
    {"AppendToMixedFile", "[#x]\none\r\n", "a", kSave, "t", SaveOutcome::Appended,
     "[#x]\none\r\n[#a]\r\nt\r\n"},
    {"AppendAfterLoneCr", "[#a]\r", "a", kSave, "t", SaveOutcome::Appended,
     "[#a]\r\r\n[#a]\r\nt\r\n"},
    {"OtherCaseIsAnotherLabel", "[#A]\r\nupper", "a", kSave, "low", SaveOutcome::Appended,
     "[#A]\r\nupper\r\n[#a]\r\nlow\r\n"},
    {"AppendLabelHoldingHeaderOpen", "[#x]\r\none", "y[#z", kSave, "t", SaveOutcome::Appended,
     "[#x]\r\none\r\n[#y[#z]\r\nt\r\n"},
    // Replacing: the header line and text up to the break before the next header line
    {"ReplaceMiddle", "[#a]\r\none\r\n[#b]\r\ntwo\r\n[#c]\r\n", "b", kSave, "TWO",
     SaveOutcome::Replaced, "[#a]\r\none\r\n[#b]\r\nTWO\r\n[#c]\r\n"},
    {"ReplaceLastDropsTrailingBreak", "[#a]\r\none\r\n[#b]\r\ntwo\r\n", "b", kSave, "TWO",
     SaveOutcome::Replaced, "[#a]\r\none\r\n[#b]\r\nTWO"},
    {"ReplaceHeaderFollowedByHeader", "[#a]\r\n[#b]\r\ntwo", "a", kSave, "one",
     SaveOutcome::Replaced, "[#a]\r\none\r\n[#b]\r\ntwo"},
    {"ReplaceHeaderFollowedByHeaderLf", "[#a]\n[#b]\ntwo", "a", kSave, "one", SaveOutcome::Replaced,
     "[#a]\none\n[#b]\ntwo"},
    {"ReplaceHeaderAtEndOfFile", "[#x]\r\n[#a]", "a", kSave, "t", SaveOutcome::Replaced,
     "[#x]\r\n[#a]\r\nt"},
    {"ReplaceKeepsBytesBeforeFirstHeader", "intro\r\n[#a]\r\nold", "a", kSave, "new",
     SaveOutcome::Replaced, "intro\r\n[#a]\r\nnew"},
    {"ReplaceFirstOfTwoEqualLabels", "[#a]\r\n1\r\n[#a]\r\n2", "a", kSave, "X",
     SaveOutcome::Replaced, "[#a]\r\nX\r\n[#a]\r\n2"},
    {"ReplaceExactCaseOnly", "[#A]\r\nupper\r\n[#a]\r\nlower", "a", kSave, "new",
     SaveOutcome::Replaced, "[#A]\r\nupper\r\n[#a]\r\nnew"},
    {"ReplaceLabelHoldingHeaderOpen", "[#y[#z]\r\nold\r\n[#b]\r\ntwo", "y[#z", kSave, "new",
     SaveOutcome::Replaced, "[#y[#z]\r\nnew\r\n[#b]\r\ntwo"},
    {"ReplaceTextThatQuotesAHeader", "[#a]\r\nold [#b] old\r\n[#b]\r\ntwo", "a", kSave,
     "new [#b] new", SaveOutcome::Replaced, "[#a]\r\nnew [#b] new\r\n[#b]\r\ntwo"},
    {"ReplaceInMixedFileUsesCrLf", "[#a]\nold\r\n[#b]", "a", kSave, "new", SaveOutcome::Replaced,
     "[#a]\r\nnew\r\n[#b]"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveSectionCases, ::testing::ValuesIn(kSaveCases), CaseName());

class SaveSectionRoundTrip : public DocumentTest {};

TEST_F(SaveSectionRoundTrip, AppendedSectionReadsBackAndLists) {
    WriteBytes(path_, "");
    ASSERT_EQ(store::SaveSection(path_, "a", kSave, "text"), SaveOutcome::Appended);
    EXPECT_EQ(store::ListLabels(path_), std::vector<Text>{"a"});
    const store::SectionRead read = store::ReadSection(path_, "a");
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.text, "text\r\n");
}

// A text holding "[#" in the middle of a line is one section; a line of the text that begins
// with "[#" starts a section of its own.
TEST_F(SaveSectionRoundTrip, TextWithHeaderOpenIsSavedAndReadWhole) {
    WriteBytes(path_, "[#a]\r\nold\r\n[#b]\r\ntwo");
    const Text text = "x [#b] y\r\nz [#a]";
    ASSERT_EQ(store::SaveSection(path_, "a", kSave, text), SaveOutcome::Replaced);
    EXPECT_EQ(store::ReadSection(path_, "a").text, text);
    EXPECT_EQ(store::ReadSection(path_, "b").text, "two");
    EXPECT_EQ(store::ListLabels(path_), (std::vector<Text>{"a", "b"}));

    ASSERT_EQ(store::SaveSection(path_, "a", kSave, "x\r\n[#c]\r\ny"), SaveOutcome::Replaced);
    EXPECT_EQ(store::ReadSection(path_, "a").text, "x");
    EXPECT_EQ(store::ReadSection(path_, "c").text, "y");
}

TEST_F(SaveSectionRoundTrip, IsAddedOnlyWhenTheHeaderWasAdded) {
    EXPECT_TRUE(store::IsAdded(store::SaveSection(path_, "a", kCreate, "")));
    EXPECT_TRUE(store::IsAdded(store::SaveSection(path_, "b", kCreate, "")));
    EXPECT_FALSE(store::IsAdded(store::SaveSection(path_, "a", kCreate, "")));
    EXPECT_FALSE(store::IsAdded(store::SaveSection(dir_.path(), "c", kCreate, "")));
    EXPECT_EQ(Bytes(), "[#a]\r\n[#b]\r\n");
}

} // namespace
} // namespace quorvel::testing
