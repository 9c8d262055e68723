#include "app/Clock.h"

#include "text/Words.h"

#include <QDateTime>
#include <string>

namespace quorvel::app {

ClockReading ReadSystemClock() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return ClockReading{date.year(), date.month(),  date.day(),
                        time.hour(), time.minute(), time.second()};
}

Text FormatClock(const ClockReading& reading) {
    auto part = [](int number, std::string_view word) {
        return std::to_string(number) + text::InterfaceText(word);
    };
    Text clock = part(reading.year, "年") + part(reading.month, "月") + part(reading.day, "日");
    if (reading.hour == 0 && reading.minute == 0 && reading.second == 0) {
        return clock;
    }
    clock += part(reading.hour, "时");
    if (reading.minute == 0 && reading.second == 0) {
        return clock;
    }
    clock += part(reading.minute, "分");
    if (reading.second == 0) {
        return clock;
    }
    return clock + part(reading.second, "秒");
}

} // namespace quorvel::app
