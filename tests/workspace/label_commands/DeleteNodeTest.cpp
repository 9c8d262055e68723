#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

TEST_F(LabelCommandsTest, DeleteDocumentNodeKeepsTheFileAndLoadsTheNextNode) {
    Start(0);
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteNode();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"message|确定删除分类“alpha”吗？|信息：|36"});
    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_EQ(store::EnumerateRegistry(settings_), std::vector<Text>{beta_});
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{alpha_, beta_}));
    EXPECT_EQ(TreeDump(), (std::vector<Text>{"1|beta|2|2", "2|x|2|12"}));
    // The tree moved to beta's node, and that node is the loaded one.
    EXPECT_EQ(tree_.Selection(), 0);
    EXPECT_EQ(workspace_.CurrentDocument(), beta_);
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), beta_);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
}

TEST_F(LabelCommandsTest, DeleteLabelWhoseHeaderIsGoneLeavesTheTreeAndSaysNothing) {
    Start(2);
    const Text outside = DocumentBytes({{"a", "one"}});
    quorvel::testing::WriteBytes(alpha_, outside);
    const std::vector<Text> before = Snapshot();
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteNode();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"message|确定删除标签“b”吗？|信息：|36"});
    EXPECT_EQ(Snapshot(), before);
}

struct CurrentLabelCase {
    const char* name;
    int select; // the label deleted, edited before the deletion
    Text alphaAfter;
    Text betaAfter;
    int selectionAfter; // the node the tree moved to, loaded
    Text labelAfter;
    Text boxAfter;
};

void PrintTo(const CurrentLabelCase& c, std::ostream* os) {
    *os << c.name;
}

const CurrentLabelCase kCurrentLabelCases[] = {
    // The next label takes the selection and is loaded; the edit of a is gone with a.
    {"NeighbourIsLoaded", 1, DocumentBytes({{"b", "two"}}), DocumentBytes({{"x", "ex"}}), 1, "b",
     "two"},
    // beta's only label: its document node takes the selection, and no label is current.
    {"DocumentNodeIsLoaded", 4, DocumentBytes({{"a", "one"}, {"b", "two"}}), "", 3, "", "Xex"},
};

class DeleteCurrentLabelTest : public LabelCommandsTest,
                               public ::testing::WithParamInterface<CurrentLabelCase> {};

TEST_P(DeleteCurrentLabelTest, ThePendingEditNeverBringsTheSectionBack) {
    const CurrentLabelCase& c = GetParam();
    Start(c.select);
    TypeIntoEditBox("X");
    ASSERT_TRUE(Edited());
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteNode();

    EXPECT_EQ(Alpha(), c.alphaAfter);
    EXPECT_EQ(Beta(), c.betaAfter);
    EXPECT_EQ(tree_.Selection(), c.selectionAfter);
    EXPECT_EQ(workspace_.CurrentLabel(), c.labelAfter);
    EXPECT_EQ(editBox_.ReadText(), c.boxAfter);
    EXPECT_FALSE(Edited());

    // Later switches between labels save nothing of the deleted one either.
    tree_.Select(1);
    tree_.Select(tree_.Count() - 1);
    EXPECT_EQ(Alpha(), c.alphaAfter);
    EXPECT_EQ(Beta(), c.betaAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteCurrentLabelTest, ::testing::ValuesIn(kCurrentLabelCases),
                         CaseName());

TEST_F(LabelCommandsTest, DeleteLabelSavesThePendingEditOfAnotherCurrentLabelFirst) {
    // a stays selected while SaveLabel makes a new label n current, which is then edited.
    Start(1);
    commands_.ShowWholeDocument();
    EmptyEditBox();
    dialogs_.ExpectText("n");
    commands_.SaveLabel();
    TypeIntoEditBox("new");
    ASSERT_EQ(tree_.Selection(), 1);
    ASSERT_EQ(workspace_.CurrentLabel(), "n");
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteNode();

    EXPECT_EQ(Alpha(), DocumentBytes({{"b", "two"}}) + "\r\n[#n]\r\nnew\r\n");
    EXPECT_EQ(TreeDump(),
              (std::vector<Text>{"1|alpha|1|2", "2|b|1|12", "2|n|1|12", "1|beta|2|2", "2|x|2|12"}));
    EXPECT_EQ(tree_.Selection(), 1);
    EXPECT_EQ(workspace_.CurrentLabel(), "b");
    EXPECT_EQ(editBox_.ReadText(), "two");
}

} // namespace
} // namespace quorvel::workspace::testing
