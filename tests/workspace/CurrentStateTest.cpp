#include "workspace/WorkspaceFixture.h"

#include <functional>

namespace quorvel::workspace::testing {
namespace {

// alpha.txt with a and b, beta.txt with x. Nodes: 0 alpha, 1 a, 2 b; 3 beta, 4 x.
class CurrentStateTest : public WorkspaceTest {
protected:
    void SetUp() override {
        alpha_ = WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}});
        beta_ = WriteDocument("beta.txt", {{"x", "ex"}});
        Register({alpha_, beta_});
        workspace_.BuildTree();
        tree_.Expand(0);
        tree_.Expand(3);
    }
    Text Alpha() const { return quorvel::testing::ReadBytes(alpha_); }
    Text Pane() const { return statusBar_.ReadPane(0); }

    Text alpha_;
    Text beta_;
};

struct PaneStep {
    const char* name;
    std::function<void(Workspace&, ui::TreeView&)> act;
    Text label; // the current label afterwards, which pane 0 shows
};

TEST_F(CurrentStateTest, StatusPaneZeroShowsTheCurrentLabelAfterEveryChange) {
    const std::vector<PaneStep> steps = {
        {"SelectLabel", [](Workspace&, ui::TreeView& t) { t.Select(1); }, "a"},
        {"SelectDocumentNode", [](Workspace&, ui::TreeView& t) { t.Select(0); }, ""},
        {"SelectLabelOfAnotherDocument", [](Workspace&, ui::TreeView& t) { t.Select(4); }, "x"},
        {"ProgramSetsALabel", [](Workspace& w, ui::TreeView&) { w.SetCurrentLabel("n"); }, "n"},
        {"DeleteDroppingTheLabel",
         [](Workspace& w, ui::TreeView&) {
             w.DeleteNodeWithoutWriteBack(2, Workspace::PendingEdit::Drop);
         },
         "x"}, // the selection stays on x, which is loaded again
    };
    for (const PaneStep& step : steps) {
        step.act(workspace_, tree_);
        EXPECT_EQ(workspace_.CurrentLabel(), step.label) << step.name;
        EXPECT_EQ(Pane(), step.label) << step.name;
    }
}

TEST_F(CurrentStateTest, ThePaneIsOnlyShownNeverReadBack) {
    tree_.Select(1);
    TypeIntoEditBox("X");
    statusBar_.WritePane(0, "b"); // some other writer: the workspace's label stays a

    tree_.Select(2);

    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_EQ(workspace_.CurrentLabel(), "b");
}

TEST_F(CurrentStateTest, AutoSaveWritesOnlyAfterAnEditAndClearsTheFlag) {
    tree_.Select(1);
    editBox_.WriteText("written by the program"); // the tree has the focus: no edit
    ASSERT_FALSE(Edited());
    workspace_.AutoSave();
    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "one"}, {"b", "two"}}));

    TypeIntoEditBox("X");
    ASSERT_TRUE(Edited());
    workspace_.AutoSave();
    EXPECT_FALSE(Edited());
    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xwritten by the program"}, {"b", "two"}}));
    EXPECT_EQ(workspace_.CurrentLabel(), "a");
}

} // namespace
} // namespace quorvel::workspace::testing
