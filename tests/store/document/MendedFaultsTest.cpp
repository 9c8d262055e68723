#include "DocumentTestSupport.h"

#include <functional>

// Files that break the format's limits: zero bytes, bare LF breaks, headers quoted in texts.
// Each operation changes only its own span and leaves every other byte where it was.
namespace quorvel::testing {
namespace {

using store::DeleteOutcome;
using store::RenameOutcome;
using store::SaveMode;
using store::SaveOutcome;

struct ChangeCase {
    const char* name;
    std::string file;
    std::function<bool(const store::Path&)> change; // true when the outcome is the right one
    std::string fileAfter;
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
};

class MendedFaults : public DocumentTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(MendedFaults, ChangesOnlyTheSectionsSpan) {
    Seed(GetParam().file);
    EXPECT_TRUE(GetParam().change(path_));
    EXPECT_EQ(Bytes(), GetParam().fileAfter);
}

std::function<bool(const store::Path&)> Save(Text label, Text text) {
    return [=](const store::Path& p) {
        return store::SaveSection(p, label, SaveMode::Save, text) == SaveOutcome::Replaced;
    };
}
std::function<bool(const store::Path&)> Rename(Text from, Text to) {
    return [=](const store::Path& p) {
        return store::RenameLabel(p, from, to) == RenameOutcome::Renamed;
    };
}
std::function<bool(const store::Path&)> Delete(Text label) {
    return [=](const store::Path& p) {
        return store::DeleteSection(p, label) == DeleteOutcome::Deleted;
    };
}

// Zero bytes in the first and last sections.
const std::string kZeros = "[#a]\r\nx\0y\r\n[#b]\r\ntwo\r\n[#c]\r\nz\0w"s;
// A bare-LF file.
const std::string kLf = "[#a]\none\n[#b]\ntwo\n[#c]\nthree";
// b's header quoted in a's text, mid-line and at the start of a line with more after it.
const std::string kQuoted = "[#a]\r\nsee [#b] here\r\n[#b] too\r\n[#b]\r\ntwo";

const ChangeCase kChangeCases[] = {
    {"ZeroBytesKeptBySave", kZeros, Save("b", "TWO"),
     "[#a]\r\nx\0y\r\n[#b]\r\nTWO\r\n[#c]\r\nz\0w"s},
    {"ZeroBytesKeptBySaveOfLast", kZeros, Save("c", "C"),
     "[#a]\r\nx\0y\r\n[#b]\r\ntwo\r\n[#c]\r\nC"s},
    {"ZeroBytesKeptByRename", kZeros, Rename("c", "d"),
     "[#a]\r\nx\0y\r\n[#b]\r\ntwo\r\n[#d]\r\nz\0w"s},
    {"ZeroBytesKeptByDelete", kZeros, Delete("b"), "[#a]\r\nx\0y\r\n[#c]\r\nz\0w"s},
    {"HeaderAfterZeroByteIsReplaced", "[#a]\r\n\0\r\n[#b]\r\nold"s, Save("b", "new"),
     "[#a]\r\n\0\r\n[#b]\r\nnew"s},
    {"LfSaveMiddleKeepsLaterSections", kLf, Save("b", "TWO"), "[#a]\none\n[#b]\nTWO\n[#c]\nthree"},
    {"LfSaveFirst", kLf, Save("a", "1\n2"), "[#a]\n1\n2\n[#b]\ntwo\n[#c]\nthree"},
    {"LfDeleteMiddleKeepsLaterSections", kLf, Delete("b"), "[#a]\none\n[#c]\nthree"},
    {"QuotedHeaderNotSavedOver", kQuoted, Save("b", "TWO"),
     "[#a]\r\nsee [#b] here\r\n[#b] too\r\n[#b]\r\nTWO"},
    {"QuotedHeaderNotRenamed", kQuoted, Rename("b", "c"),
     "[#a]\r\nsee [#b] here\r\n[#b] too\r\n[#c]\r\ntwo"},
    {"QuotedHeaderNotDeleted", kQuoted, Delete("b"), "[#a]\r\nsee [#b] here\r\n[#b] too\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, MendedFaults, ::testing::ValuesIn(kChangeCases), CaseName());

class MendedFaultsRead : public DocumentTest {};

TEST_F(MendedFaultsRead, SectionsReadWhereTheirHeaderLinesAre) {
    WriteBytes(path_, kLf);
    EXPECT_EQ(store::ReadSection(path_, "b").text, "two");
    WriteBytes(path_, kQuoted);
    EXPECT_EQ(store::ReadSection(path_, "b").text, "two");
    EXPECT_EQ(store::ReadSection(path_, "a").text, "see [#b] here");
    WriteBytes(path_, kZeros);
    EXPECT_EQ(store::ReadSection(path_, "a").text, "x");
    EXPECT_EQ(store::ReadSection(path_, "c").text, "z");
}

} // namespace
} // namespace quorvel::testing
