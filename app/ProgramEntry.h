#pragma once

#include <string>
#include <vector>

class QApplication;

// The program from start to end: the program-wide state, the main window and its message loop,
// then the release of the state. The arguments are those after the program's name, as bytes.
namespace quorvel::app {

int ProgramEntry(QApplication& application, std::vector<std::string> arguments);

} // namespace quorvel::app
