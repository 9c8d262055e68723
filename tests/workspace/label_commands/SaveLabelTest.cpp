#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <QTreeWidgetItem>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

TEST_F(LabelCommandsTest, SaveLabelWithACurrentLabelSavesIntoItsSection) {
    Start(1);
    TypeIntoEditBox("X");
    const std::vector<Text> tree = TreeDump();

    commands_.SaveLabel();

    EXPECT_EQ(DialogLog(), std::vector<Text>{});
    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentLabel(), "a");
    EXPECT_EQ(Setting(store::kCurrentLabelSetting), ""); // written only for an asked name
    EXPECT_TRUE(Edited());                               // SaveLabel leaves the flag alone
}

// A name already in the document would have its section's text replaced without a word, and a
// second node of that name shown: it is refused, and the text stays in the box.
TEST_F(LabelCommandsTest, SaveLabelAskingForAnExistingNameRefusesIt) {
    workspace_.BuildTree();
    tree_.Select(0);
    TypeIntoEditBox("new");
    const std::vector<Text> tree = TreeDump();
    dialogs_.ExpectText("b");
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.SaveLabel();

    EXPECT_EQ(DialogLog(), (std::vector<Text>{"ask|输入此信息的标签名称：|",
                                              "message|标签已经存在，请重新输入|信息：|0"}));
    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(editBox_.ReadText(), "new");
}

TEST_F(LabelCommandsTest, SaveLabelAskingForANewNameShowsItsNodeInACollapsedDocument) {
    workspace_.BuildTree(); // alpha stays collapsed
    tree_.Select(0);
    ASSERT_FALSE(ItemOf(0)->isExpanded());
    TypeIntoEditBox("new");
    dialogs_.ExpectText("c");

    commands_.SaveLabel();

    EXPECT_EQ(Alpha(), alphaBytes_ + "\r\n[#c]\r\nnew\r\n");
    EXPECT_EQ(TreeDump(), (std::vector<Text>{"1|alpha|1|2", "2|a|1|12", "2|b|1|12", "2|c|1|12",
                                             "1|beta|2|2", "2|x|2|12"}));
    EXPECT_TRUE(ItemOf(0)->isExpanded());
    EXPECT_EQ(tree_.Selection(), 0); // the new node is not selected
    EXPECT_EQ(workspace_.CurrentLabel(), "c");
    EXPECT_EQ(Setting(store::kCurrentLabelSetting), "c");
}

TEST_F(LabelCommandsTest, SaveLabelWithAnEmptyBoxNamesALabelThatTheNextAutoSaveWrites) {
    Start(0);
    ASSERT_EQ(editBox_.ReadText(), "");
    dialogs_.ExpectText("n");

    commands_.SaveLabel();

    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_EQ(TreeDump().at(3), "2|n|1|12");
    EXPECT_EQ(workspace_.CurrentLabel(), "n");
    EXPECT_EQ(Setting(store::kCurrentLabelSetting), "n");

    TypeIntoEditBox("new");
    tree_.Select(2);
    EXPECT_EQ(Alpha(), alphaBytes_ + "\r\n[#n]\r\nnew\r\n");
}

struct OfferCase {
    const char* name;
    int select;
    Text offered;
    Text box;
};

void PrintTo(const OfferCase& c, std::ostream* os) {
    *os << c.name;
}

// Nodes: 0 alpha, 1 a, 2 b; 3 beta, 4 x; 5 gamma, which has no labels.
const OfferCase kOfferCases[] = {
    {"LabelNode", 1, "a", "one"},
    {"LabelOfAnotherDocument", 4, "x", "ex"},
    {"DocumentNodeWithLabels", 0, "", "one"},
    {"DocumentNodeWithoutLabels", 5, "gamma", "one"},
    {"NoSelection", ui::kNoNode, "", "one"},
};

class SaveLabelToDocumentTest : public LabelCommandsTest,
                                public ::testing::WithParamInterface<OfferCase> {};

TEST_P(SaveLabelToDocumentTest, OffersAChildlessNodesTextAndChangesOnlyTheChosenFile) {
    const OfferCase& c = GetParam();
    const Text gamma = WriteDocument("gamma.txt", {});
    Register({gamma});
    Start(1);
    tree_.Select(c.select);
    ASSERT_EQ(editBox_.ReadText(), c.box);
    const std::vector<Text> tree = TreeDump();
    const Text document = workspace_.CurrentDocument();
    const Text label = workspace_.CurrentLabel();
    const Text chosen = PathOf("chosen.txt");
    dialogs_.ExpectSaveFile(chosen);
    dialogs_.ExpectText("k");

    commands_.SaveLabelToDocument();

    EXPECT_EQ(DialogLog(), (std::vector<Text>{"save|另存标签|" + Folder(),
                                              "ask|输入此信息标签名称：|" + c.offered}));
    EXPECT_EQ(quorvel::testing::ReadBytes(chosen), "[#k]\r\n" + c.box);
    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_EQ(Beta(), betaBytes_);
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentDocument(), document);
    EXPECT_EQ(workspace_.CurrentLabel(), label);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveLabelToDocumentTest, ::testing::ValuesIn(kOfferCases),
                         CaseName());

TEST_F(LabelCommandsTest, SaveLabelToDocumentIntoAWorkspaceDocumentShowsTheNewLabel) {
    Start(1);
    dialogs_.ExpectSaveFile(beta_);
    dialogs_.ExpectText("y");

    commands_.SaveLabelToDocument();

    EXPECT_EQ(Beta(), betaBytes_ + "\r\n[#y]\r\none\r\n");
    // The label's node appears under beta at once; the selection and what is current stay.
    EXPECT_EQ(TreeDump(), (std::vector<Text>{"1|alpha|1|2", "2|a|1|12", "2|b|1|12", "1|beta|2|2",
                                             "2|x|2|12", "2|y|2|12"}));
    EXPECT_EQ(tree_.Selection(), 1);
    EXPECT_EQ(workspace_.CurrentDocument(), alpha_);
    EXPECT_EQ(workspace_.CurrentLabel(), "a");
}

} // namespace
} // namespace quorvel::workspace::testing
