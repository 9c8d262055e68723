#include "DocumentTestSupport.h"

namespace quorvel::testing {
namespace {

struct ListCase {
    const char* name;
    std::string file;
    std::vector<Text> labels;
    friend void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }
};

class ListLabelsCases : public DocumentTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListLabelsCases, ListsTheHeaderLines) {
    Seed(GetParam().file);
    EXPECT_EQ(store::ListLabels(path_), GetParam().labels);
}

const ListCase kListCases[] = {
    {"FileOrderWithDuplicates", "[#b]\r\none\r\n[#a]\r\ntwo\r\n[#b]\r\n", {"b", "a", "b"}},
    {"LfBreaks", "[#a]\none\n[#b]\n", {"a", "b"}},
    {"EmptyLabels", "[#\r\n[#x\r\n[#]\r\n", {"", "", ""}},
    {"BytesAfterTheBracket", "[#a] x\r\n", {"a] "}},
    {"LastByteDroppedWhateverItIs", "[#abc\r\n", {"ab"}},
    {"LastLineWithoutBreak", "text\r\n[#last]", {"last"}},
    {"OnlyAtLineStart", "x[#a]\r\n [#b]\r\ntext [#c]\r\n#[d]\r\n[x#e]\r\n", {}},
    {"ZeroByteEndsTheListing", "[#a]\r\n[#b]\0\r\n[#c]\r\n"s, {"a", "b"}},
    {"ZeroByteAtLineStart", "[#a]\r\n\0[#b]\r\n"s, {"a"}},
    {"CtrlZEndsTheListing", "[#a]\r\n[#b]\x1a\r\n[#c]\r\n", {"a", "b"}},
    {"CtrlZInsideTheHeaderLine", "[#ab\x1a]\r\n", {"a"}},
    {"OneCrBeforeLfBelongsToTheBreak", "[#a]\r\r\n[#b]\r\n", {"a]", "b"}},
    {"CrAtEndOfFileIsPartOfTheLine", "[#a]\r", {"a]"}},
    {"CrBeforeZeroByteIsPartOfTheLine", "[#a]\r\0"s, {"a]"}},
    {"LoneCrDoesNotEndALine", "[#a]\r[#b]\r\n", {"a]\r[#b"}},
    {"Gbk2ByteCharactersKept", "[#\xb1\xea\xc7\xa9]\r\n", {"\xb1\xea\xc7\xa9"}},
    {"EmptyFile", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ListLabelsCases, ::testing::ValuesIn(kListCases), CaseName());

class ListLabelsFile : public DocumentTest {};

TEST_F(ListLabelsFile, MissingFileOrDirectoryHasNoLabels) {
    EXPECT_TRUE(store::ListLabels(path_).empty());
    EXPECT_TRUE(store::ListLabels(dir_.path()).empty());
}

// The file is read in pieces; a header line, its CR LF or a stopping byte that straddles the
// edge of a piece must list as if the file were read whole.
TEST_F(ListLabelsFile, LinesAcrossReadBoundaries) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    for (std::size_t headerAt = kMiB - 8; headerAt <= kMiB + 1; ++headerAt) {
        SCOPED_TRACE(headerAt);
        const std::string before = std::string(headerAt - 1, 'x') + "\n";
        WriteBytes(path_, before + "[#ab]\r\n[#c]\r\n");
        EXPECT_EQ(store::ListLabels(path_), (std::vector<Text>{"ab", "c"}));
        WriteBytes(path_, before + "[#ab]\0[#c]\r\n"s);
        EXPECT_EQ(store::ListLabels(path_), std::vector<Text>{"ab"});
        WriteBytes(path_, std::string(headerAt, 'x') + "[#no]\r\n[#c]\r\n");
        EXPECT_EQ(store::ListLabels(path_), std::vector<Text>{"c"});
    }
}

TEST_F(ListLabelsFile, HeaderLineLongerThanAReadPiece) {
    const std::string label(3 * (std::size_t{1} << 20) + 17, 'L');
    WriteBytes(path_, std::string(5000, 'y') + "\r\n[#" + label + "]\r\n[#next]");
    EXPECT_EQ(store::ListLabels(path_), (std::vector<Text>{label, "next"}));
}

} // namespace
} // namespace quorvel::testing
