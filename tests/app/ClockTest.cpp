// The clock of status pane 2.
#include "app/Clock.h"

#include "MainWindowFixture.h"
#include "support/CodePageScope.h"
#include "ui/StatusBar.h"

#include <QTimer>

namespace quorvel::app::testing {
namespace {

struct ClockCase {
    ClockReading reading;
    const char* text;
};

const ClockCase kClockCases[] = {
    {{2013, 5, 7, 14, 3, 9}, "2013年5月7日14时3分9秒"},
    {{2013, 5, 7, 14, 0, 7}, "2013年5月7日14时0分7秒"},
    {{2013, 5, 7, 14, 3, 0}, "2013年5月7日14时3分"},
    {{2013, 5, 7, 9, 5, 0}, "2013年5月7日9时5分"},
    {{2013, 5, 7, 9, 0, 0}, "2013年5月7日9时"},
    {{2013, 5, 7, 0, 0, 0}, "2013年5月7日"},
    {{2013, 5, 7, 0, 0, 1}, "2013年5月7日0时0分1秒"},
    {{2013, 5, 7, 0, 5, 0}, "2013年5月7日0时5分"},
    {{2024, 12, 31, 23, 59, 59}, "2024年12月31日23时59分59秒"},
};

TEST(FormatClockTest, ShortestFormWithoutLeadingZeros) {
    for (const ClockCase& c : kClockCases) {
        EXPECT_EQ(FormatClock(c.reading), c.text)
            << c.reading.hour << ":" << c.reading.minute << ":" << c.reading.second;
    }
}

TEST(FormatClockTest, WordsAreInTheActiveCodePage) {
    const quorvel::testing::CodePageScope gbk(CodePage::Gbk);
    // 年 C4EA, 月 D4C2, 日 C8D5, 时 CAB1, 分 B7D6, 秒 C3EB
    EXPECT_EQ(FormatClock({2013, 5, 7, 14, 3, 9}), "2013\xC4\xEA"
                                                   "5\xD4\xC2"
                                                   "7\xC8\xD5"
                                                   "14\xCA\xB1"
                                                   "3\xB7\xD6"
                                                   "9\xC3\xEB");
}

using ClockPaneTest = MainWindowTest;

TEST_F(ClockPaneTest, EachTickRewritesPaneTwo) {
    Start();
    const QTimer* timer = Window().findChild<QTimer*>(QStringLiteral("时钟1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(Window().statusBar().ReadPane(2), "");

    Window().UpdateClock();
    EXPECT_EQ(Window().statusBar().ReadPane(2), "2013年5月7日14时3分9秒");
    now_ = {2013, 5, 8, 0, 0, 0};
    Window().UpdateClock();
    EXPECT_EQ(Window().statusBar().ReadPane(2), "2013年5月8日");
}

TEST_F(ClockPaneTest, TimerTicksIntoThePane) {
    Start();
    now_ = {2020, 1, 2, 3, 4, 5};
    EXPECT_TRUE(WaitUntil([this] { return !Window().statusBar().ReadPane(2).empty(); }));
    EXPECT_EQ(Window().statusBar().ReadPane(2), "2020年1月2日3时4分5秒");
}

} // namespace
} // namespace quorvel::app::testing
