// The pixel rules of the three side-by-side controls, as numbers and on the real window.
#include "app/Layout.h"

#include "MainWindowFixture.h"
#include "app/SplitterBar.h"
#include "support/CaseName.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <ostream>

namespace quorvel::app {

std::ostream& operator<<(std::ostream& out, const ControlGeometry& g) {
    return out << "(" << g.left << ", " << g.top << ", " << g.width << " x " << g.height << ")";
}
std::ostream& operator<<(std::ostream& out, const MainLayout& layout) {
    return out << "edit " << layout.editBox << " splitter " << layout.splitter << " tree "
               << layout.tree;
}

namespace testing {
namespace {

using quorvel::testing::CaseName;

// A window resize to the client size, or a splitter drag to a left edge in a client this wide.
struct LayoutStep {
    enum Kind { Resize, Drag } kind;
    int a;
    int b;
};

struct LayoutCase {
    const char* name;
    std::vector<LayoutStep> steps;
    MainLayout expected;
};

const LayoutCase kLayoutCases[] = {
    {"ResizeGivesTheChangeToTheEditBox",
     {{LayoutStep::Resize, 672, 600}},
     {{0, 32, 505, 550}, {506, 32, 5, 550}, {512, 31, 160, 550}}},
    {"SplitterDragMovesBothNeighbours",
     {{LayoutStep::Resize, 672, 600}, {LayoutStep::Drag, 400, 672}},
     {{0, 32, 399, 550}, {400, 32, 5, 550}, {406, 31, 266, 550}}},
    {"TreeKeepsItsDraggedWidthOnResize",
     {{LayoutStep::Resize, 672, 600}, {LayoutStep::Drag, 400, 672}, {LayoutStep::Resize, 800, 700}},
     {{0, 32, 527, 650}, {528, 32, 5, 650}, {534, 31, 266, 650}}},
    {"DragKeepsHeights",
     {{LayoutStep::Drag, 300, 680}},
     {{0, 32, 299, 544}, {300, 32, 5, 544}, {306, 31, 374, 552}}},
    {"TooSmallWindowClampsAtZero",
     {{LayoutStep::Resize, 100, 30}},
     {{0, 32, 0, 0}, {1, 32, 5, 0}, {7, 31, 160, 0}}},
    {"DragPastTheRightEdgeClampsTheTree",
     {{LayoutStep::Drag, 700, 672}},
     {{0, 32, 699, 544}, {700, 32, 5, 544}, {706, 31, 0, 552}}},
};

class LayoutRuleTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutRuleTest, FollowsThePixelRules) {
    MainLayout layout;
    for (const LayoutStep& step : GetParam().steps) {
        layout = step.kind == LayoutStep::Resize ? LayoutMainWindow(layout, step.a, step.b)
                                                 : FollowSplitter(layout, step.a, step.b);
    }
    EXPECT_EQ(layout, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutRuleTest, ::testing::ValuesIn(kLayoutCases), CaseName());

TEST(SplitterRangeTest, KeepsBothNeighboursAtZeroOrMore) {
    const MainLayout layout;
    EXPECT_EQ(ClampSplitterLeft(layout, 400, 672), 400);
    EXPECT_EQ(ClampSplitterLeft(layout, -20, 672), 1);
    EXPECT_EQ(ClampSplitterLeft(layout, 900, 672), 666);
}

using WindowLayoutTest = MainWindowTest;

TEST_F(WindowLayoutTest, ResizeAndSplitterDragPlaceTheControls) {
    Start();
    ShowActive();
    const int menuHeight = Window().menuBar()->geometry().bottom() + 1;
    Window().resize(672, 600 + menuHeight);
    ASSERT_TRUE(WaitUntil([this] {
        return ClientRect(*Window().editBox().widget()).size() == QSize(505, 550);
    })) << ClientRect(*Window().editBox().widget()).width();
    EXPECT_EQ(ClientRect(*Window().editBox().widget()), QRect(0, 32, 505, 550));
    EXPECT_EQ(ClientRect(Window().splitterBar()), QRect(506, 32, 5, 550));
    EXPECT_EQ(ClientRect(*Window().tree().widget()), QRect(512, 31, 160, 550));

    // Grab the bar 2 pixels into it and let go 400 pixels from the left edge of the client.
    SplitterBar& bar = Window().splitterBar();
    const QPointF grab(2, 10);
    const QPointF release(bar.mapFromParent(QPoint(402, bar.y() + 10)));
    QMouseEvent press(QEvent::MouseButtonPress, grab, bar.mapToGlobal(grab), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &press);
    QMouseEvent move(QEvent::MouseMove, release, bar.mapToGlobal(release), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &move);
    const QPointF after(bar.mapFromParent(QPoint(402, bar.y() + 10)));
    QMouseEvent up(QEvent::MouseButtonRelease, after, bar.mapToGlobal(after), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &up);

    EXPECT_EQ(ClientRect(*Window().editBox().widget()), QRect(0, 32, 399, 550));
    EXPECT_EQ(ClientRect(bar), QRect(400, 32, 5, 550));
    EXPECT_EQ(ClientRect(*Window().tree().widget()), QRect(406, 31, 266, 550));
    EXPECT_EQ(bar.cursor().shape(), Qt::SplitHCursor);
}

} // namespace
} // namespace testing
} // namespace quorvel::app
