#pragma once

#include "text/CodePage.h"

// What is current in the window, as plain values: the document and label being edited, whether
// the edit box was edited since the last auto-save, and the auto-save switch.
namespace quorvel::workspace {

// Owns plain values only. The workspace owns the one instance and is its only writer; the status
// bar only shows a copy of the label, and the edit recorder only reports edits, which the
// workspace turns into the flag.
struct CurrentState {
    Text document;           // the CurrentDocument's path; "" when none is current
    Text label;              // the CurrentLabel; "" when no single label is being edited
    bool edited = false;     // the text changed with the edit box focused; cleared by AutoSave
    bool autoSaveOn = false; // the auto-save switch
};

} // namespace quorvel::workspace
