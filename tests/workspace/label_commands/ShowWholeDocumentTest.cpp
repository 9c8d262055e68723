#include "workspace/label_commands/LabelCommandsFixture.h"

namespace quorvel::workspace::testing {
namespace {

TEST_F(LabelCommandsTest, ShowWholeDocumentShowsTheFileWithNoLabelCurrent) {
    const Text bytes = "before any header\r\n" + alphaBytes_;
    quorvel::testing::WriteBytes(alpha_, bytes);
    Start(2);
    TypeIntoEditBox("X");

    commands_.ShowWholeDocument();

    EXPECT_EQ(DialogLog(), std::vector<Text>{});
    EXPECT_EQ(editBox_.ReadText(), bytes); // as on disk: no auto-save ran first
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(statusBar_.ReadPane(0), "");
    EXPECT_EQ(tree_.Selection(), 2);

    // What is typed into the whole file goes into no section.
    TypeIntoEditBox("Q");
    tree_.Select(1);
    EXPECT_EQ(Alpha(), bytes);
    EXPECT_EQ(editBox_.ReadText(), "one");
}

} // namespace
} // namespace quorvel::workspace::testing
