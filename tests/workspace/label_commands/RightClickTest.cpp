#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <filesystem>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

// alpha.txt holds a and x, beta.txt holds x: a command that took alpha's file for beta's node
// would change alpha's x. Nodes: 0 alpha, 1 a, 2 x; 3 beta, 4 x.
struct RightClickCase {
    const char* name;
    int clicked;
    Command command;
    std::vector<Text> answers; // "yes" for a confirmation, else a name entered
    Text betaFile;
    Text betaAfter;
    std::vector<Text> treeAfter;
};

void PrintTo(const RightClickCase& c, std::ostream* os) {
    *os << c.name;
}

const Text kAlphaX = DocumentBytes({{"a", "Xone"}, {"x", "alpha-x"}});

const RightClickCase kRightClickCases[] = {
    {"SaveLabelOfTheClickedLabel",
     4,
     &LabelCommands::SaveLabel,
     {},
     "beta.txt",
     DocumentBytes({{"x", "Yex"}}),
     {"1|alpha|1|2", "2|a|1|12", "2|x|1|12", "1|beta|2|2", "2|x|2|12"}},
    {"SaveLabelAskedOnTheClickedDocument",
     3,
     &LabelCommands::SaveLabel,
     {"n"},
     "beta.txt",
     DocumentBytes({{"x", "ex"}}) + "\r\n[#n]\r\nXYone\r\n",
     {"1|alpha|1|2", "2|a|1|12", "2|x|1|12", "1|beta|2|2", "2|x|2|12", "2|n|2|12"}},
    {"RenameTheClickedLabel",
     4,
     &LabelCommands::RenameNode,
     {"y"},
     "beta.txt",
     DocumentBytes({{"y", "ex"}}),
     {"1|alpha|1|2", "2|a|1|12", "2|x|1|12", "1|beta|2|2", "2|y|2|12"}},
    {"RenameTheClickedDocument",
     3,
     &LabelCommands::RenameNode,
     {"gamma"},
     "gamma.txt",
     DocumentBytes({{"x", "ex"}}),
     {"1|alpha|1|2", "2|a|1|12", "2|x|1|12", "1|gamma|2|2", "2|x|2|12"}},
    {"DeleteTheClickedLabel",
     4,
     &LabelCommands::DeleteNode,
     {"yes"},
     "beta.txt",
     "",
     {"1|alpha|1|2", "2|a|1|12", "2|x|1|12", "1|beta|2|2"}},
};

class RightClickTest : public LabelCommandsTest,
                       public ::testing::WithParamInterface<RightClickCase> {};

TEST_P(RightClickTest, CommandsActOnTheClickedNodesDocumentOnly) {
    const RightClickCase& c = GetParam();
    WriteDocument("alpha.txt", {{"a", "one"}, {"x", "alpha-x"}});
    Start(1);
    TypeIntoEditBox("X");

    RightClick(c.clicked); // loads beta's node, saving alpha's a first
    ASSERT_EQ(workspace_.CurrentDocument(), beta_);
    ASSERT_EQ(popups_.size(), 1u);
    TypeIntoEditBox("Y");
    captions_.clear();
    for (const Text& answer : c.answers) {
        if (answer == "yes") {
            dialogs_.ExpectMessage(ui::MessageAnswer::Yes);
        } else {
            dialogs_.ExpectText(answer);
        }
    }

    (commands_.*c.command)();

    const Text betaPath = PathOf(c.betaFile);
    EXPECT_EQ(Alpha(), kAlphaX);
    EXPECT_EQ(quorvel::testing::ReadBytes(betaPath), c.betaAfter);
    EXPECT_EQ(TreeDump(), c.treeAfter);
    EXPECT_EQ(workspace_.CurrentDocument(), betaPath);
    for (const Text& caption : captions_) {
        EXPECT_EQ(caption, kTitle + betaPath);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RightClickTest, ::testing::ValuesIn(kRightClickCases), CaseName());

} // namespace
} // namespace quorvel::workspace::testing
