#include "workspace/label_commands/LabelCommandsFixture.h"

namespace quorvel::workspace::testing {
namespace {

TEST_F(LabelCommandsTest, ShowWholeDocumentShowsTheFileWithNoLabelCurrent) {
    quorvel::testing::WriteBytes(alpha_, "before any header\r\n" + alphaBytes_);
    Start(2);
    TypeIntoEditBox("X");

    commands_.ShowWholeDocument();

    // The pending edit of b was saved first, so the whole file shows it.
    const Text saved = "before any header\r\n" + DocumentBytes({{"a", "one"}, {"b", "Xtwo"}});
    EXPECT_EQ(DialogLog(), std::vector<Text>{});
    EXPECT_EQ(Alpha(), saved);
    EXPECT_EQ(editBox_.ReadText(), saved);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(statusBar_.ReadPane(0), "");
    EXPECT_EQ(tree_.Selection(), 2);

    // What is typed into the whole file goes into no section: leaving it asks, No drops it.
    TypeIntoEditBox("Q");
    dialogs_.ExpectMessage(ui::MessageAnswer::No);
    tree_.Select(1);
    EXPECT_EQ(DialogLog(),
              std::vector<Text>{"message|当前内容没有保存到任何标签。要保存为新标签吗？|"
                                "提示：|35"});
    EXPECT_EQ(Alpha(), saved);
    EXPECT_EQ(editBox_.ReadText(), "one");
}

} // namespace
} // namespace quorvel::workspace::testing
