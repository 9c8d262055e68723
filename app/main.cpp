// quorvel: the window program.
#include "app/Display.h"
#include "app/ProgramEntry.h"
#include "text/CodePage.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace quorvel;
    text::SetActiveCodePage(text::DetectCodePageFromEnvironment());

    // Without a display Qt would abort with a message about plug-ins; say what to do instead.
    if (!app::HasDisplay(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                         std::getenv("QT_QPA_PLATFORM"))) {
        std::fputs(app::kNoDisplayMessage.data(), stderr);
        return 1;
    }

    QApplication application(argc, argv);
    // Qt has taken its own options out of argv; the rest are the program's, as bytes.
    std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    return app::ProgramEntry(application, std::move(arguments));
}
