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
    if (pending == PendingEdit::Save) {
        AutoSave();
    } else {
        // The edit belonged to what is being deleted; keeping it would bring it back.
        SetCurrentLabel(Text());
        current_.edited = false;
    }
    const bool isDocumentNode = IsDocumentNode(index);
    selectionGuard_ = true;
    if (isDocumentNode) {
        RemoveDocumentNode(index);
    } else {
        parts_.tree.DeleteNode(index);
    }
    selectionGuard_ = false;
    // The tree may have selected a neighbour: the selected node is always the loaded one.
    HandleTreeSelection();
}

} // namespace quorvel::workspace
