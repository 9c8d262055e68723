#pragma once

#include "text/CodePage.h"

#include <functional>

// The clock of status pane 2: the local date and time to the second, in the shortest of four
// forms, numbers in decimal without leading zeros.
namespace quorvel::app {

// A local date and time, a plain value.
struct ClockReading {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0; // 0 to 23
    int minute = 0;
    int second = 0;
};

// Where the time comes from: the system's local time, or a fixed one in tests.
using ClockSource = std::function<ClockReading()>;

ClockReading ReadSystemClock();

// "2013年5月7日14时3分9秒"; seconds 0 drop "9秒", minutes and seconds 0 drop the minutes too, and
// midnight is the date alone. The words are in the active code page.
Text FormatClock(const ClockReading& reading);

} // namespace quorvel::app
