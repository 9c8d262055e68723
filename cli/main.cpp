// quorvel-notes: the notebook store for scripts and the terminal, without the window.

#include "cli/Commands.h"
#include "text/CodePage.h"

#include <vector>

int main(int argc, char** argv) {
    using namespace quorvel;
    // The same code page as the window program, so that stepping and interface words agree.
    text::SetActiveCodePage(text::DetectCodePageFromEnvironment());

    const std::vector<Text> arguments(argv + 1, argv + argc);
    cli::Console console;
    cli::Status status = cli::RunCommandLine(arguments, console);
    if (console.OutputFailed()) {
        console.Complain("cannot write to standard output");
        status = cli::Status::FileError;
    }
    return static_cast<int>(status);
}
