// Selecting another node, from the tree's report of the click to the write of the label being
// left: HandleTreeSelection → AutoSave → SaveSection → ShowLabel. Also the auto-save switch, the
// close handler and the right button.
#include "store/Document.h"
#include "text/Words.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <utility>

namespace quorvel::workspace {
namespace {

constexpr int kCurrentLabelPane = 0;

} // namespace

// Every change of the tree's selection, the user's and those a deletion causes, arrives at
// HandleTreeSelection; the program's own changes hold the guard (SelectGuarded).
Workspace::Workspace(WorkspaceParts parts, Text windowTitle)
    : parts_(parts), windowTitle_(std::move(windowTitle)) {
    connect(&parts_.tree, &ui::TreeView::SelectionChanged, this, &Workspace::HandleTreeSelection);
    connect(&parts_.tree, &ui::TreeView::RightButtonReleased, this,
            &Workspace::OnRightButtonReleased);
}

void Workspace::HandleTreeSelection() {
    if (selectionGuard_) {
        return;
    }
    const int selected = parts_.tree.Selection();
    if (selected == ui::kNoNode) {
        return;
    }
    const Text document = DocumentPathOf(selected);
    AutoSave();
    if (IsDocumentNode(selected)) {
        SetCurrentLabel(Text()); // no single label, the edit box keeps its text
    } else {
        ShowLabel(document, parts_.tree.NodeText(selected));
    }
    if (document == current_.document) {
        return;
    }
    SetCaptionToDocument(document);
    MakeDocumentCurrent(document);
}

void Workspace::AutoSave() {
    if (!current_.edited || !current_.autoSaveOn) {
        return;
    }
    if (current_.label.empty()) {
        return; // the edit stays pending until a label is current
    }
    store::SaveSection(current_.document, current_.label, store::SaveMode::Save,
                       parts_.editBox.ReadText());
    // Cleared whatever the save did: an emptied edit box saves nothing and is not retried.
    current_.edited = false;
}

void Workspace::ShowLabel(const Text& path, const Text& label) {
    const store::SectionRead section = store::ReadSection(path, label);
    if (section.found) {
        parts_.editBox.WriteText(section.text);
    }
    SetCurrentLabel(label);
}

void Workspace::SetCurrentLabel(const Text& label) {
    current_.label = label;
    parts_.statusBar.WritePane(kCurrentLabelPane, label);
}

void Workspace::SelectGuarded(int index) {
    selectionGuard_ = true;
    parts_.tree.Select(index);
    selectionGuard_ = false;
}

void Workspace::SetAutoSaveSwitch(bool on) {
    current_.autoSaveOn = on;
    emit AutoSaveSwitchChanged(current_.autoSaveOn);
}

void Workspace::ToggleAutoSave() {
    current_.autoSaveOn = !current_.autoSaveOn;
    parts_.settings.WriteSetting(store::kAutoSaveSetting, text::BoolWord(current_.autoSaveOn));
    emit AutoSaveSwitchChanged(current_.autoSaveOn);
}

void Workspace::SaveOnClose() {
    AutoSave();
    if (current_.label.empty()) {
        return; // a document node was selected: the recorded label stays as it was
    }
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, current_.label);
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
