#include "DocumentTestSupport.h"

#include <functional>

namespace quorvel::testing {
namespace {

using store::DeleteOutcome;
using store::SaveMode;
using store::SaveOutcome;

// The file's line break: files made by these operations use CR LF, files that already use bare
// LF keep it.
struct BreakStyle {
    const char* name;
    std::string lineBreak;
    friend void PrintTo(const BreakStyle& c, std::ostream* os) { *os << c.name; }
};

// "|" stands for the line break of the style.
std::string WithBreaks(std::string_view pattern, const std::string& lineBreak) {
    std::string result;
    for (char c : pattern) {
        if (c == '|') {
            result += lineBreak;
        } else {
            result += c;
        }
    }
    return result;
}

class WorkedExample : public DocumentTest, public ::testing::WithParamInterface<BreakStyle> {};

TEST_P(WorkedExample, EachCallLeavesTheExpectedFile) {
    const std::string& lineBreak = GetParam().lineBreak;
    const store::Path& p = path_;
    struct Step {
        const char* call;
        std::function<void()> run;
        const char* fileAfter;
    };
    const Step steps[] = {
        {"SaveSection(a, save, one) on a missing file",
         [&] {
             if (lineBreak == "\n") {
                 WriteBytes(p, "[#a]\none"); // a new file always gets CR LF; start from an LF one
                 return;
             }
             EXPECT_EQ(store::SaveSection(p, "a", SaveMode::Save, "one"), SaveOutcome::CreatedFile);
             EXPECT_EQ(Bytes().size(), 9u);
         },
         "[#a]|one"},
        {"SaveSection(b, create, any text)",
         [&] {
             const SaveOutcome outcome = store::SaveSection(p, "b", SaveMode::Create, "any text");
             EXPECT_EQ(outcome, SaveOutcome::Appended);
             EXPECT_TRUE(store::IsAdded(outcome));
         },
         "[#a]|one|[#b]|"},
        {"SaveSection(b, save, two)",
         [&] {
             EXPECT_EQ(store::SaveSection(p, "b", SaveMode::Save, "two"), SaveOutcome::Replaced);
         },
         "[#a]|one|[#b]|two"},
        {"SaveSection(a, save, ONE)",
         [&] {
             EXPECT_EQ(store::SaveSection(p, "a", SaveMode::Save, "ONE"), SaveOutcome::Replaced);
         },
         "[#a]|ONE|[#b]|two"},
        {"ListLabels and ReadSection",
         [&] {
             EXPECT_EQ(store::ListLabels(p), (std::vector<Text>{"a", "b"}));
             const store::SectionRead a = store::ReadSection(p, "a");
             const store::SectionRead b = store::ReadSection(p, "b");
             EXPECT_TRUE(a.found);
             EXPECT_EQ(a.text, "ONE");
             EXPECT_TRUE(b.found);
             EXPECT_EQ(b.text, "two");
         },
         "[#a]|ONE|[#b]|two"},
        {"DeleteSection(a)",
         [&] { EXPECT_EQ(store::DeleteSection(p, "a"), DeleteOutcome::Deleted); }, "[#b]|two"},
        {"DeleteSection(b)",
         [&] { EXPECT_EQ(store::DeleteSection(p, "b"), DeleteOutcome::Deleted); }, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.call);
        step.run();
        ASSERT_TRUE(Exists());
        EXPECT_EQ(Bytes(), WithBreaks(step.fileAfter, lineBreak));
    }
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"notes.txt"});
}

INSTANTIATE_TEST_SUITE_P(BothBreakStyles, WorkedExample,
                         ::testing::Values(BreakStyle{"CrLf", "\r\n"}, BreakStyle{"Lf", "\n"}),
                         CaseName());

} // namespace
} // namespace quorvel::testing
