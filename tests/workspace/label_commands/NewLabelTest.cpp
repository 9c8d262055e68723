#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <cstdio>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

struct NewLabelCase {
    const char* name;
    int select;
    Text entered;
    bool intoBeta; // the header goes into beta.txt rather than alpha.txt
    int added;     // index of the node added (and selected), kNoNode for none
    Text node;
};

void PrintTo(const NewLabelCase& c, std::ostream* os) {
    *os << c.name;
}

const NewLabelCase kNewLabelCases[] = {
    {"UnderTheSelectedLabelsDocument", 1, "n", false, 3, "2|n|1|12"},
    {"UnderASelectedDocumentNode", 0, "n", false, 3, "2|n|1|12"},
    {"InTheDocumentOfTheSelection", 4, "n", true, 5, "2|n|2|12"},
    // The empty label's header is appended and gets a node; no label is current afterwards.
    {"EmptyName", 1, "", false, 3, "2||1|12"},
    // Without a selection the header still goes into the CurrentDocument, but no node is added.
    {"NoNodeSelected", ui::kNoNode, "n", false, ui::kNoNode, ""},
};

class NewLabelTest : public LabelCommandsTest,
                     public ::testing::WithParamInterface<NewLabelCase> {};

TEST_P(NewLabelTest, AppendsTheHeaderAndSelectsItsNode) {
    const NewLabelCase& c = GetParam();
    Start(1);
    tree_.Select(c.select);
    std::vector<Text> tree = TreeDump();
    if (c.added != ui::kNoNode) {
        tree.insert(tree.begin() + c.added, c.node);
    }
    dialogs_.ExpectText(c.entered);

    commands_.NewLabel();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"ask|输入新标签：|"});
    const Text header = "\r\n[#" + c.entered + "]\r\n";
    EXPECT_EQ(Alpha(), c.intoBeta ? alphaBytes_ : alphaBytes_ + header);
    EXPECT_EQ(Beta(), c.intoBeta ? betaBytes_ + header : betaBytes_);
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(tree_.Selection(), c.added);
    EXPECT_EQ(workspace_.CurrentLabel(), c.entered);
    EXPECT_EQ(editBox_.ReadText(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, NewLabelTest, ::testing::ValuesIn(kNewLabelCases), CaseName());

TEST_F(LabelCommandsTest, NewLabelWithAnExistingNameChangesNothingButTheAutoSave) {
    Start(1);
    TypeIntoEditBox("X");
    const std::vector<Text> tree = TreeDump();
    dialogs_.ExpectText("b");
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.NewLabel();

    EXPECT_EQ(DialogLog(), (std::vector<Text>{"ask|输入新标签：|",
                                              "message|标签已经存在，请重新输入|信息：|0"}));
    // The label being left was saved once the name was given; then the command stopped.
    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(tree_.Selection(), 1);
    EXPECT_EQ(workspace_.CurrentLabel(), "a");
    EXPECT_EQ(editBox_.ReadText(), "Xone");
}

TEST_F(LabelCommandsTest, NewLabelWithTheFileMissingSavesTheTextIntoAChosenFile) {
    ASSERT_EQ(std::remove(alpha_.c_str()), 0);
    Start(0);
    TypeIntoEditBox("keep");
    const std::vector<Text> tree = TreeDump();
    const Text chosen = PathOf("chosen.txt");
    dialogs_.ExpectSaveFile(chosen);
    dialogs_.ExpectText("n");

    commands_.NewLabel();

    // alpha's node has no labels left to show, so its name is offered.
    EXPECT_EQ(DialogLog(),
              (std::vector<Text>{"save|另存标签|" + Folder(), "ask|输入此信息标签名称：|alpha"}));
    EXPECT_EQ(quorvel::testing::ReadBytes(chosen), "[#n]\r\nkeep");
    EXPECT_FALSE(store::FileExists(alpha_));
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentDocument(), alpha_);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(editBox_.ReadText(), "keep");
}

} // namespace
} // namespace quorvel::workspace::testing
