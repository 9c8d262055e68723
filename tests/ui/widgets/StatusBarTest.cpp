#include "ui/StatusBar.h"

#include "support/CodePageScope.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvel::ui {
namespace {

std::vector<QLabel*> Panes(const StatusBar& bar) {
    std::vector<QLabel*> panes;
    for (QLabel* pane : bar.widget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        panes.push_back(pane);
    }
    return panes;
}

TEST(StatusBar, ThreePanesOfFixedWidths) {
    QWidget window;
    StatusBar bar(&window);
    bar.widget()->setGeometry(0, 0, 900, 24);
    window.resize(900, 24);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(bar.widget()->objectName(), QStringLiteral("状态条1"));
    const std::vector<QLabel*> panes = Panes(bar);
    ASSERT_EQ(panes.size(), 3U);
    for (std::size_t pane = 0; pane < panes.size(); ++pane) {
        EXPECT_EQ(panes[pane]->width(), StatusBar::kPaneWidths[pane]);
    }
    // Left to right in pane order.
    EXPECT_LT(panes[0]->x(), panes[1]->x());
    EXPECT_LT(panes[1]->x(), panes[2]->x());
    // A long text does not widen its pane.
    bar.WritePane(0, Text(500, 'w'));
    QCoreApplication::processEvents();
    EXPECT_EQ(panes[0]->width(), 274);
}

TEST(StatusBar, APaneGivesBackExactlyTheBytesWritten) {
    QWidget window;
    StatusBar bar(&window);
    const std::vector<Text> texts{
        "", "标签", "\xff\x80 broken", "<b>not rich</b>", "a\r\nb", "\xd6\xd0\xce\xc4"};
    for (CodePage codePage : {CodePage::Utf8, CodePage::Gbk}) {
        testing::CodePageScope scope(codePage);
        for (const Text& text : texts) {
            for (int pane = 0; pane < 3; ++pane) {
                bar.WritePane(pane, text + std::to_string(pane));
            }
            for (int pane = 0; pane < 3; ++pane) {
                EXPECT_EQ(bar.ReadPane(pane), text + std::to_string(pane));
            }
        }
    }
    testing::CodePageScope utf8(CodePage::Utf8);
    bar.WritePane(1, "<b>行号:</b>");
    EXPECT_EQ(Panes(bar)[1]->text(), QStringLiteral("<b>行号:</b>"));
}

TEST(StatusBar, PanesOutsideZeroToTwoAreIgnored) {
    QWidget window;
    StatusBar bar(&window);
    for (int pane = 0; pane < 3; ++pane) {
        bar.WritePane(pane, "kept");
    }
    bar.WritePane(-1, "lost");
    bar.WritePane(3, "lost");
    EXPECT_EQ(bar.ReadPane(-1), "");
    EXPECT_EQ(bar.ReadPane(3), "");
    for (int pane = 0; pane < 3; ++pane) {
        EXPECT_EQ(bar.ReadPane(pane), "kept");
        EXPECT_EQ(Panes(bar)[static_cast<std::size_t>(pane)]->text(), QStringLiteral("kept"));
    }
}

TEST(StatusBar, TheBarMayGoWithItsWindowFirst) {
    auto window = std::make_unique<QWidget>();
    StatusBar bar(nullptr);
    bar.widget()->setParent(window.get());
    window.reset();
    EXPECT_EQ(bar.widget(), nullptr);
}

} // namespace
} // namespace quorvel::ui
