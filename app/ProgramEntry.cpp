#include "app/ProgramEntry.h"

#include "app/Arguments.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "app/Screenshot.h"

#include <QApplication>

namespace quorvel::app {

int ProgramEntry(QApplication& application, std::vector<std::string> arguments) {
    std::unique_ptr<ProgramState> state = CreateProgramState();
    {
        StartupOptions options;
        options.arguments = std::move(arguments);
        options.workingDirectory = CurrentWorkingDirectory();
        MainWindow window(*state, std::move(options));
        window.show();
        ScheduleScreenshot(window);
        application.exec();
    }
    ReleaseProgramState(state);
    return 0;
}

} // namespace quorvel::app
