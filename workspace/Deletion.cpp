// Changes to documents and nodes that the document and label commands share.
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

namespace quorvel::workspace {

void Workspace::MoveDocument(int number, const Text& newPath) {
    if (number < 1 || static_cast<std::size_t>(number) > documents_.size()) {
        return;
    }
    Text& entry = documents_[static_cast<std::size_t>(number) - 1];
    if (entry == current_.document) {
        MakeDocumentCurrent(newPath);
    }
    entry = newPath;
    SetCaptionToDocument(newPath);
}

void Workspace::DeleteNodeWithoutWriteBack(int index, PendingEdit pending) {
    if (pending == PendingEdit::Drop) {
        // The edit belonged to what is being deleted; keeping it would bring it back.
        SetCurrentLabel(Text());
        current_.edited = false;
    }
    const bool saveFailed = pending == PendingEdit::Save && AutoSave() == SaveResult::Failed;
    selectionGuard_ = true;
    if (IsDocumentNode(index)) {
        RemoveDocumentNode(index);
    } else {
        parts_.tree.DeleteNode(index);
    }
    selectionGuard_ = false;
    if (saveFailed) {
        return; // the edit stays in the box, pending; nothing is loaded over it
    }
    // The tree may have selected a neighbour: the selected node is always the loaded one.
    HandleTreeSelection();
}

} // namespace quorvel::workspace
