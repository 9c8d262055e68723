// Selecting another node, from the tree's report of the click to the write of the text being
// left: HandleTreeSelection → LeaveShownText → AutoSave → SaveSection, then ShowLabel. Also the
// auto-save switch, the close handler and the right button.
#include "store/Document.h"
#include "store/FileIo.h"
#include "text/Words.h"
#include "ui/Dialogs.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"
#include "workspace/Messages.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quorvel::workspace {
namespace {

constexpr int kCurrentLabelPane = 0;

// The system's words for why a write of the path fails, in the active code page.
Text WriteFailureReason(const Text& path) {
    const store::WriteProblem problem = store::DiagnoseWriteFailure(path);
    if (problem == store::WriteProblem::Locked) {
        return text::InterfaceText(kLockedReason);
    }
    const int error = store::ErrorNumberOf(problem);
    if (error == 0) {
        return text::InterfaceText(kUnknownWriteReason);
    }
    // The system's message is in the locale's UTF-8, like the interface's own words.
    return text::InterfaceText(std::strerror(error));
}

} // namespace

// Every change of the tree's selection, the user's and those a deletion causes, arrives at
// HandleTreeSelection; the program's own changes hold the guard (SelectGuarded).
Workspace::Workspace(WorkspaceParts parts, Text windowTitle)
    : parts_(parts), windowTitle_(std::move(windowTitle)) {
    connect(&parts_.tree, &ui::TreeView::SelectionChanged, this, &Workspace::HandleTreeSelection);
    connect(&parts_.tree, &ui::TreeView::SelectedNodePressed, this,
            &Workspace::OnSelectedNodePressed);
    connect(&parts_.tree, &ui::TreeView::RightButtonReleased, this,
            &Workspace::OnRightButtonReleased);
}

void Workspace::HandleTreeSelection() {
    if (selectionGuard_ || parts_.tree.Selection() == ui::kNoNode) {
        return;
    }
    if (LeaveShownText() != LeaveOutcome::Left) {
        // The text stays, so the node it belongs to stays selected.
        SelectGuarded(parts_.tree.PreviousSelection());
        return;
    }
    // Saving under a new label may have added a node before the selected one.
    LoadNode(parts_.tree.Selection());
}

void Workspace::OnSelectedNodePressed() {
    const int selected = parts_.tree.Selection();
    if (selectionGuard_ || selected == ui::kNoNode || IsDocumentNode(selected) ||
        !current_.label.empty()) {
        return;
    }
    if (LeaveShownText() == LeaveOutcome::Left) {
        LoadNode(parts_.tree.Selection());
    }
}

void Workspace::LoadNode(int index) {
    if (index == ui::kNoNode) {
        return;
    }
    const Text document = DocumentPathOf(index);
    if (IsDocumentNode(index)) {
        SetCurrentLabel(Text()); // no single label, the edit box keeps its text
    } else {
        ShowLabel(document, parts_.tree.NodeText(index));
    }
    if (document == current_.document) {
        return;
    }
    SetCaptionToDocument(document);
    MakeDocumentCurrent(document);
}

// Empty text is no loss: an emptied box or a box cleared by 新建文档 is never asked about.
bool Workspace::HoldsUnlabelledEdit() const {
    return current_.edited && current_.label.empty() && !parts_.editBox.ReadText().empty();
}

LeaveOutcome Workspace::LeaveShownText() {
    if (!HoldsUnlabelledEdit()) {
        return AutoSave() == SaveResult::Failed ? LeaveOutcome::SaveFailed : LeaveOutcome::Left;
    }
    switch (ShowMessage(parts_.dialogs, MessageId::UnsavedText)) {
    case ui::MessageAnswer::Yes:
        switch (SaveUnderNewLabel(current_.document)) {
        case SaveResult::Saved:
            return LeaveOutcome::Left;
        case SaveResult::Failed:
            return LeaveOutcome::SaveFailed;
        case SaveResult::NotNeeded:
        case SaveResult::Cancelled:
            return LeaveOutcome::Cancelled;
        }
        return LeaveOutcome::Cancelled;
    case ui::MessageAnswer::No:
        current_.edited = false;
        return LeaveOutcome::Left;
    case ui::MessageAnswer::Ok:
    case ui::MessageAnswer::Cancel:
        break;
    }
    return LeaveOutcome::Cancelled;
}

SaveResult Workspace::AutoSave() {
    if (!current_.edited || !current_.autoSaveOn || current_.label.empty()) {
        return SaveResult::NotNeeded;
    }
    const store::SaveOutcome outcome = store::SaveSection(
        current_.document, current_.label, store::SaveMode::Save, parts_.editBox.ReadText());
    if (outcome == store::SaveOutcome::WriteFailed) {
        ReportSaveFailure(current_.document);
        return SaveResult::Failed; // still edited: the next leave tries again
    }
    // An emptied edit box saves nothing and is not retried.
    current_.edited = false;
    return outcome == store::SaveOutcome::NothingToSave ? SaveResult::NotNeeded : SaveResult::Saved;
}

SaveResult Workspace::SaveUnderNewLabel(const Text& document) {
    if (!store::FileExists(document)) {
        ShowMessage(parts_.dialogs, MessageId::NewDocumentFirst);
        return SaveResult::Cancelled;
    }
    const std::optional<Text> name =
        parts_.dialogs.AskText(text::InterfaceText(kLabelNamePrompt), Text());
    if (!name || name->empty() || RefusesInvalidLabel(parts_.dialogs, *name)) {
        return SaveResult::Cancelled;
    }
    // A name already there would have its section's text replaced by this one.
    const std::vector<Text> labels = store::ListLabels(document);
    if (std::find(labels.begin(), labels.end(), *name) != labels.end()) {
        ShowMessage(parts_.dialogs, MessageId::LabelExists);
        return SaveResult::Cancelled;
    }
    switch (store::SaveSection(document, *name, store::SaveMode::Save, parts_.editBox.ReadText())) {
    case store::SaveOutcome::WriteFailed:
        ReportSaveFailure(document);
        return SaveResult::Failed;
    case store::SaveOutcome::InvalidLabel:
    case store::SaveOutcome::LabelExists:
        return SaveResult::Cancelled;
    case store::SaveOutcome::NothingToSave: // named first; the next auto-save writes the section
    case store::SaveOutcome::CreatedFile:
    case store::SaveOutcome::Appended:
        AddLabelNode(document, *name);
        break;
    case store::SaveOutcome::Replaced:
        break; // another program added the label a moment ago: its node is there or comes
    }
    SetCurrentLabel(*name);
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, *name);
    return SaveResult::Saved;
}

void Workspace::ReportSaveFailure(const Text& path) {
    ShowMessage(parts_.dialogs, MessageId::SaveFailed, path + "\n" + WriteFailureReason(path));
}

void Workspace::ShowLabel(const Text& path, const Text& label) {
    const store::SectionRead section = store::ReadSection(path, label);
    if (section.found) {
        ShowText(section.text);
    }
    SetCurrentLabel(label);
}

void Workspace::ShowText(const Text& text) {
    parts_.editBox.WriteText(text);
    // A write while the box has the focus reports an edit; this one is the program's.
    current_.edited = false;
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

CloseOutcome Workspace::SaveOnClose() {
    switch (LeaveShownText()) {
    case LeaveOutcome::Cancelled:
        return CloseOutcome::KeepOpen;
    case LeaveOutcome::SaveFailed:
        if (ShowMessage(parts_.dialogs, MessageId::CloseAnyway) != ui::MessageAnswer::Yes) {
            return CloseOutcome::KeepOpen;
        }
        break;
    case LeaveOutcome::Left:
        break;
    }
    if (!current_.label.empty()) {
        // With a document node selected, the recorded label stays as it was.
        parts_.settings.WriteSetting(store::kCurrentLabelSetting, current_.label);
    }
    return CloseOutcome::Close;
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
