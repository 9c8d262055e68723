// The selection, the auto-save rule and its switch, the close handler and the right button.
#include "editor/EditRecorder.h"
#include "store/Document.h"
#include "text/Words.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

namespace quorvel::workspace {

void Workspace::HandleTreeSelection() {
    if (selectionGuard_) {
        return;
    }
    const int selected = parts_.tree.Selection();
    if (selected == ui::kNoNode) {
        return;
    }
    const Text document = DocumentOfNode(selected);
    AutoSave();
    if (parts_.tree.Level(selected) == 1) {
        SetCurrentLabel(Text()); // a document node: no single label, the edit box keeps its text
    } else {
        ShowLabel(document, parts_.tree.NodeText(selected));
    }
    if (document == currentDocument_) {
        return;
    }
    SetCaptionToDocument(document);
    MakeDocumentCurrent(document);
}

void Workspace::AutoSave() {
    if (!parts_.dirty.set || !autoSaveOn_) {
        return;
    }
    const Text label = CurrentLabel();
    if (label.empty()) {
        return; // the edit stays pending until a label is current
    }
    store::SaveSection(currentDocument_, label, store::SaveMode::Save, parts_.editBox.ReadText());
    // Cleared whatever the save did: an emptied edit box saves nothing and is not retried.
    parts_.dirty.set = false;
}

void Workspace::SetAutoSaveSwitch(bool on) {
    autoSaveOn_ = on;
    emit AutoSaveSwitchChanged(autoSaveOn_);
}

void Workspace::ToggleAutoSave() {
    autoSaveOn_ = !autoSaveOn_;
    parts_.settings.WriteSetting(store::kAutoSaveSetting, text::BoolWord(autoSaveOn_));
    emit AutoSaveSwitchChanged(autoSaveOn_);
}

void Workspace::SaveOnClose() {
    AutoSave();
    const Text label = CurrentLabel();
    if (label.empty()) {
        return; // a document node was selected: the recorded label stays as it was
    }
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, label);
}

// The press needs no handler of its own: the tree selects the node under the pointer by itself,
// and that change is loaded like any other, so the release only has to open the menu.
void Workspace::OnRightButtonReleased(QPoint globalPosition) {
    if (parts_.tree.Selection() == ui::kNoNode) {
        return;
    }
    emit PopupRequested(globalPosition);
}

} // namespace quorvel::workspace
