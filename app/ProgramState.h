#pragma once

#include "editor/EditHistory.h"
#include "text/CodePage.h"

#include <cstdint>
#include <memory>

// The program-wide state: created once by CreateProgramState before the main window, lent to the
// window and its parts for the whole run, and released once by ReleaseProgramState after the
// window is gone. The rest of what lives for the run (the settings file, the DocumentList and the
// CurrentState with its edited flag, WindowTitle) belongs to the main window's workspace, which
// lives exactly as long.
namespace quorvel::app {

// A point on the screen, a plain value.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Owns the edit history, the cipher password and the colour dialog's anchor. Owned by the program
// entry (or a test) for the whole run; the main window only borrows it.
struct ProgramState {
    editor::EditHistory history;
    Text cipherPassword;
    ScreenPoint colourDialogAnchor; // where the last colour dialog was asked for
};

// The state with its initial values; the history holds its one empty entry (InitHistory).
std::unique_ptr<ProgramState> CreateProgramState();

// Releases the state; it writes nothing (what must be saved is saved on close).
void ReleaseProgramState(std::unique_ptr<ProgramState>& state);

} // namespace quorvel::app
