#pragma once

#include "editor/EditHistory.h"
#include "editor/EditRecorder.h"
#include "text/CodePage.h"

#include <cstdint>
#include <memory>

// The program-wide state: created once by InitGlobals before the main window, lent to the window
// and its parts for the whole run, and released once by ReleaseGlobals after the window is gone.
// The rest of what lives for the run (the settings file, the DocumentList, the CurrentDocument,
// WindowTitle) belongs to the main window's workspace, which lives exactly as long.
namespace quorvel::app {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct ProgramState {
    editor::EditHistory history;
    editor::DirtyFlag dirty;
    Text cipherPassword;
    ScreenPoint colourDialogAnchor; // where the last colour dialog was asked for
};

// The state with its initial values; the history holds its one empty entry (InitHistory).
std::unique_ptr<ProgramState> InitGlobals();

// Releases the state; it writes nothing (what must be saved is saved on close).
void ReleaseGlobals(std::unique_ptr<ProgramState>& state);

} // namespace quorvel::app
