#pragma once

#include "store/Settings.h"
#include "text/CodePage.h"

#include <optional>
#include <string_view>

namespace quorvel::ui {
class EditBox;
class TreeView;
} // namespace quorvel::ui
namespace quorvel::workspace {
class Workspace;
}

// The start-up steps that bring back what the last run left in the settings file.
namespace quorvel::app {

// The fixed beginning of every caption.
inline constexpr std::string_view kWindowTitle = "Quorvel - ";

// The CurrentDocument: the command-line document, recorded in the settings file at once (which
// creates the file), or else the one the settings file names. Without a file that is "".
void DecideCurrentDocument(store::Settings& settings, workspace::Workspace& workspace,
                           const std::optional<Text>& documentArgument);

// What RestoreSavedState works on, all lent by the main window for the call.
struct RestoreTargets {
    const store::Settings& settings;
    workspace::Workspace& workspace;
    ui::EditBox& editBox;
    ui::TreeView& tree;
    const std::optional<Text>& documentArgument; // the command line's document, if any
};

// Only when the settings file exists: the edit box's and the tree's font records, the tree with
// the saved label, the command line's document added as 打开 adds one when it exists and is not
// registered yet, the whole current document when the tree holds fewer than 2 nodes, and the
// auto-save switch (on when the value, "真" by default, is exactly "真"). Without the file
// everything keeps the state it was created with, except the auto-save switch: a first run
// counts like a missing value, so it is on.
void RestoreSavedState(const RestoreTargets& targets);

} // namespace quorvel::app
