#pragma once

#include "text/CodePage.h"

namespace quorvel::ui {
class Dialogs;
}

// The commands of the menu 标签(&B), which is also the tree's pop-up menu: new, save, save into
// another document, rename, delete, and show the whole document. A right click loads the node it
// selects, so the selected node and the CurrentDocument always agree.
namespace quorvel::workspace {

class Workspace;

// Keeps no state. Uses, without owning: the workspace and the dialogs, both lent by the main
// window (or a test) for its whole life.
class LabelCommands {
public:
    LabelCommands(Workspace& workspace, ui::Dialogs& dialogs)
        : workspace_(workspace), dialogs_(dialogs) {}

    void NewLabel();
    void SaveLabel();
    void SaveLabelToDocument();
    void RenameNode();
    void DeleteNode();
    void ShowWholeDocument();

private:
    // The document the commands act on: the selected node's, else the CurrentDocument.
    const Text& ActingDocument() const;
    void RenameLabelNode(int node);
    void RenameDocumentNode(int node);

    Workspace& workspace_;
    ui::Dialogs& dialogs_;
};

} // namespace quorvel::workspace
