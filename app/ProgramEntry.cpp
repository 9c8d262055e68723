#include "app/ProgramEntry.h"

#include "app/Arguments.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <string_view>

namespace quorvel::app {
namespace {

constexpr int kDefaultScreenshotDelay = 1500;

// QUORVEL_SCREENSHOT=path: once the window has settled, save a picture of it there and close it,
// as a user would. QUORVEL_SCREENSHOT_DELAY sets the wait in milliseconds.
void ScheduleScreenshot(MainWindow& window) {
    const char* path = std::getenv("QUORVEL_SCREENSHOT");
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    const char* delayText = std::getenv("QUORVEL_SCREENSHOT_DELAY");
    const int delay = delayText != nullptr ? std::atoi(delayText) : kDefaultScreenshotDelay;
    const QString target = QString::fromLocal8Bit(path);
    QTimer::singleShot(delay > 0 ? delay : kDefaultScreenshotDelay, &window, [&window, target] {
        window.grab().save(target, "PNG");
        window.close();
    });
}

} // namespace

int ProgramEntry(QApplication& application, std::vector<std::string> arguments) {
    std::unique_ptr<ProgramState> state = InitGlobals();
    {
        StartupOptions options;
        options.arguments = std::move(arguments);
        options.workingDirectory = CurrentWorkingDirectory();
        MainWindow window(*state, std::move(options));
        window.show();
        ScheduleScreenshot(window);
        application.exec();
    }
    ReleaseGlobals(state);
    return 0;
}

} // namespace quorvel::app
