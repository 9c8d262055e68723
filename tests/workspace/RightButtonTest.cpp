#include "support/CaseName.h"
#include "workspace/WorkspaceFixture.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

enum class Press { OnNodeOfBeta, OnEmptySpace };
enum class Release { OverTheTree, OverTheEditBox };

struct RightButtonCase {
    const char* name;
    bool startWithSelection;
    Press press;
    Release release;
    int selection;
    bool betaCurrent;
    Text label;
    bool popup;
};

void PrintTo(const RightButtonCase& c, std::ostream* os) {
    *os << c.name;
}

// alpha.txt (a, b) is current with a selected and edited; beta.txt (x) is expanded too.
// Nodes: 0 alpha, 1 a, 2 b; 3 beta, 4 x.
const RightButtonCase kRightButtonCases[] = {
    {"NodeOfAnotherDocumentIsLoaded", true, Press::OnNodeOfBeta, Release::OverTheTree, 4, true, "x",
     true},
    {"EmptySpaceKeepsTheSelection", true, Press::OnEmptySpace, Release::OverTheTree, 1, false, "a",
     true},
    {"NoSelectionNoPopup", false, Press::OnEmptySpace, Release::OverTheTree, ui::kNoNode, false,
     "a", false},
    {"ReleasedOutsideTheTree", true, Press::OnNodeOfBeta, Release::OverTheEditBox, 4, true, "x",
     false},
};

class RightButtonTest : public WorkspaceTest,
                        public ::testing::WithParamInterface<RightButtonCase> {};

TEST_P(RightButtonTest, SelectsLikeAnyClickAndPopsUpOnRelease) {
    const RightButtonCase& c = GetParam();
    const Text alpha = WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}});
    const Text beta = WriteDocument("beta.txt", {{"x", "ex"}});
    Register({alpha, beta});
    workspace_.SetCurrentDocument(alpha);
    WriteSettingValue(store::kCurrentLabelSetting, "a");
    workspace_.BuildTree();
    tree_.Expand(3);
    if (!c.startWithSelection) {
        tree_.Select(ui::kNoNode);
    }
    ShowWindow();
    TypeIntoEditBox("X");

    QWidget* viewport = tree_.widget()->viewport();
    const QPoint at = c.press == Press::OnNodeOfBeta
                          ? NodeCentre(4)
                          : QPoint(viewport->width() / 2, viewport->height() - 5);
    if (c.press == Press::OnEmptySpace) {
        ASSERT_EQ(tree_.widget()->itemAt(at), nullptr);
    }
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    if (c.release == Release::OverTheTree) {
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
    } else {
        QTest::mouseRelease(editBox_.widget()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    }

    EXPECT_EQ(tree_.Selection(), c.selection);
    EXPECT_EQ(workspace_.CurrentDocument(), c.betaCurrent ? beta : alpha);
    EXPECT_EQ(workspace_.CurrentLabel(), c.label);
    // Loading beta's label saved alpha's a first; otherwise the edit is still pending.
    const Text savedA = c.betaCurrent ? "Xone" : "one";
    EXPECT_EQ(quorvel::testing::ReadBytes(alpha), DocumentBytes({{"a", savedA}, {"b", "two"}}));
    EXPECT_EQ(Edited(), !c.betaCurrent);
    EXPECT_EQ(popups_,
              c.popup ? std::vector<QPoint>{viewport->mapToGlobal(at)} : std::vector<QPoint>{});

    // Nothing was left guarded: the next selection change loads as usual.
    tree_.Select(2);
    EXPECT_EQ(workspace_.CurrentLabel(), "b");
    EXPECT_EQ(editBox_.ReadText(), "two");
}

INSTANTIATE_TEST_SUITE_P(Cases, RightButtonTest, ::testing::ValuesIn(kRightButtonCases),
                         CaseName());

} // namespace
} // namespace quorvel::workspace::testing
