#include "workspace/LabelCommands.h"

#include "store/Document.h"
#include "store/Path.h"
#include "store/Settings.h"
#include "text/TextOps.h"
#include "text/Words.h"
#include "ui/Dialogs.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Messages.h"
#include "workspace/Workspace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace quorvel::workspace {
namespace {

constexpr std::string_view kDocumentExtension = ".txt";

enum class FileMove { Moved, Refused };

// Renames a file only when nothing exists at the target: a rename over an existing file would
// replace it, where the user only meant to give a document a free name.
FileMove MoveFileWithoutReplacing(const Text& from, const Text& to) {
    // A zero byte would cut the path short and name another file.
    if (from.find('\0') != Text::npos || to.find('\0') != Text::npos) {
        return FileMove::Refused;
    }
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return FileMove::Moved;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return FileMove::Refused; // the target exists, or the rename itself failed
    }
#endif
    // The file system cannot refuse a replacement by itself: look first.
    struct stat target {};
    if (::lstat(to.c_str(), &target) == 0 || errno != ENOENT) {
        return FileMove::Refused;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? FileMove::Moved : FileMove::Refused;
}

} // namespace

// A right click loads the node it selects, so the selected node's document is the current one;
// taking it from the node keeps the file changed and the node changed together in any case.
const Text& LabelCommands::ActingDocument() const {
    const int selected = workspace_.Tree().Selection();
    if (selected == ui::kNoNode) {
        return workspace_.CurrentDocument();
    }
    return workspace_.DocumentPathOf(selected);
}

void LabelCommands::NewLabel() {
    const Text document = ActingDocument();
    if (!store::FileExists(document)) {
        SaveLabelToDocument();
        return;
    }
    const std::optional<Text> name = dialogs_.AskText(text::InterfaceText(kNewLabelPrompt), Text());
    if (!name || RefusesInvalidLabel(dialogs_, *name)) {
        return;
    }
    if (workspace_.LeaveShownText() != LeaveOutcome::Left) {
        return; // the new label would empty the box over text that is not saved
    }
    const store::SaveOutcome outcome =
        store::SaveSection(document, *name, store::SaveMode::Create, Text());
    if (outcome == store::SaveOutcome::LabelExists) {
        ShowMessage(dialogs_, MessageId::LabelExists);
        return;
    }
    if (outcome == store::SaveOutcome::WriteFailed) {
        workspace_.ReportSaveFailure(document);
        return;
    }
    if (!store::IsAdded(outcome)) {
        return; // a label that cannot be a header line: nothing changed
    }
    workspace_.ShowText(Text());
    ui::TreeView& tree = workspace_.Tree();
    const int selected = tree.Selection();
    if (selected != ui::kNoNode) {
        const int added = tree.AddNode(workspace_.DocumentNodeIndexOf(selected), *name,
                                       ImageOf(NodeKind::Label), tree.ItemValue(selected));
        workspace_.SelectGuarded(added);
    }
    workspace_.SetCurrentLabel(*name);
}

void LabelCommands::SaveLabel() {
    const Text document = ActingDocument();
    if (!store::FileExists(document)) {
        ShowMessage(dialogs_, MessageId::NewDocumentFirst);
        return;
    }
    const Text& label = workspace_.CurrentLabel();
    if (label.empty()) {
        // The new node is only shown: the selection, and what it loaded, stay.
        workspace_.SaveUnderNewLabel(document);
        return;
    }
    const store::SaveOutcome outcome =
        store::SaveSection(document, label, store::SaveMode::Save, workspace_.EditBox().ReadText());
    if (outcome == store::SaveOutcome::WriteFailed) {
        workspace_.ReportSaveFailure(document);
    }
}

void LabelCommands::SaveLabelToDocument() {
    if (workspace_.EditBox().ReadText().empty()) {
        ShowMessage(dialogs_, MessageId::NoTextToSave);
        return;
    }
    const std::optional<std::string> path = dialogs_.AskSaveFile(
        text::InterfaceText(kSaveLabelAsTitle), store::SplitPath(ActingDocument()).directory);
    if (!path) {
        return;
    }
    Text offered;
    const ui::TreeView& tree = workspace_.Tree();
    const int selected = tree.Selection();
    if (selected != ui::kNoNode && tree.ChildCount(selected) == 0) {
        offered = tree.NodeText(selected);
    }
    const std::optional<Text> name =
        dialogs_.AskText(text::InterfaceText(kSaveLabelAsPrompt), offered);
    if (!name || name->empty() || RefusesInvalidLabel(dialogs_, *name)) {
        return;
    }
    // The chosen file only receives the section; the workspace does not follow it, but the tree
    // shows the new label when the file has a node.
    switch (
        store::SaveSection(*path, *name, store::SaveMode::Save, workspace_.EditBox().ReadText())) {
    case store::SaveOutcome::WriteFailed:
        workspace_.ReportSaveFailure(*path);
        return;
    case store::SaveOutcome::CreatedFile:
    case store::SaveOutcome::Appended:
        workspace_.AddLabelNode(*path, *name);
        return;
    case store::SaveOutcome::NothingToSave:
    case store::SaveOutcome::Replaced:
    case store::SaveOutcome::LabelExists:
    case store::SaveOutcome::InvalidLabel:
        return;
    }
}

void LabelCommands::RenameNode() {
    const int selected = workspace_.Tree().Selection();
    if (selected == ui::kNoNode) {
        ShowMessage(dialogs_, MessageId::SelectLabelToRename);
        return;
    }
    if (workspace_.DocumentPathOf(selected).empty()) {
        return;
    }
    switch (workspace_.KindOf(selected)) {
    case NodeKind::Label:
        RenameLabelNode(selected);
        return;
    case NodeKind::Document:
        RenameDocumentNode(selected);
        return;
    }
}

void LabelCommands::RenameLabelNode(int node) {
    ui::TreeView& tree = workspace_.Tree();
    const Text document = workspace_.DocumentPathOf(node);
    const Text old = tree.NodeText(node);
    const std::optional<Text> name =
        dialogs_.AskText(text::InterfaceText(kNewLabelNamePrompt), old);
    if (!name || RefusesInvalidLabel(dialogs_, *name)) {
        return;
    }
    switch (store::RenameLabel(document, old, *name)) {
    case store::RenameOutcome::Renamed:
        break;
    case store::RenameOutcome::NotFound:
        ShowMessage(dialogs_, MessageId::RenameFailed);
        return;
    case store::RenameOutcome::LabelExists:
        ShowMessage(dialogs_, MessageId::LabelExists);
        return;
    case store::RenameOutcome::WriteFailed:
        workspace_.ReportSaveFailure(document);
        return;
    case store::RenameOutcome::InvalidLabel:
        return; // the file is as it was, so the node stays as it was
    }
    tree.SetNodeText(node, *name);
    // Only the renamed label follows: a CurrentLabel of another node keeps its own name, or a
    // later auto-save would write its text under the new name.
    if (!workspace_.CurrentLabel().empty() && workspace_.CurrentLabel() == old &&
        document == workspace_.CurrentDocument()) {
        workspace_.SetCurrentLabel(*name);
    }
}

void LabelCommands::RenameDocumentNode(int node) {
    ui::TreeView& tree = workspace_.Tree();
    const std::optional<Text> name =
        dialogs_.AskText(text::InterfaceText(kNewFileNamePrompt), tree.NodeText(node));
    if (!name) {
        return;
    }
    // Raw bytes, not characters: the file system and the settings file see every such byte.
    if (text::HoldsLineBreak(*name)) {
        ShowMessage(dialogs_, MessageId::FileNameHasLineBreak);
        return;
    }
    if (name->find('/') != Text::npos) {
        ShowMessage(dialogs_, MessageId::FileNameHasSlash);
        return;
    }
    const int number = tree.ItemValue(node);
    const Text oldPath = workspace_.DocumentPathOf(node);
    const Text newPath = store::SplitPath(oldPath).directory + *name + Text(kDocumentExtension);
    if (MoveFileWithoutReplacing(oldPath, newPath) == FileMove::Refused) {
        return;
    }
    store::RenameRegisteredDocument(workspace_.Settings(), oldPath, newPath);
    workspace_.MoveDocument(number, newPath);
    tree.SetNodeText(node, *name);
}

void LabelCommands::DeleteNode() {
    ui::TreeView& tree = workspace_.Tree();
    const int selected = tree.Selection();
    if (selected == ui::kNoNode) {
        ShowMessage(dialogs_, MessageId::SelectLabelToDelete);
        return;
    }
    const Text document = workspace_.DocumentPathOf(selected);
    if (document.empty()) {
        return;
    }
    const Text nodeText = tree.NodeText(selected);
    const bool isCurrentDocument = document == workspace_.CurrentDocument();
    if (workspace_.IsDocumentNode(selected)) {
        if (ShowMessage(dialogs_, MessageId::ConfirmDeleteDocumentNode, nodeText) !=
            ui::MessageAnswer::Yes) {
            return;
        }
        // The file stays on disk and its DocumentList entry stays, so a pending edit is kept.
        store::UnregisterDocument(workspace_.Settings(), document);
        workspace_.DeleteNodeWithoutWriteBack(selected, Workspace::PendingEdit::Save);
        return;
    }
    if (ShowMessage(dialogs_, MessageId::ConfirmDeleteLabel, nodeText) != ui::MessageAnswer::Yes) {
        return;
    }
    if (store::DeleteSection(document, nodeText) != store::DeleteOutcome::Deleted) {
        return; // the header is not there (or the file could not be written): the node stays
    }
    const bool isCurrentLabel = isCurrentDocument && workspace_.CurrentLabel() == nodeText;
    workspace_.DeleteNodeWithoutWriteBack(selected, isCurrentLabel ? Workspace::PendingEdit::Drop
                                                                   : Workspace::PendingEdit::Save);
}

void LabelCommands::ShowWholeDocument() {
    const Text document = ActingDocument();
    if (!store::FileExists(document)) {
        ShowMessage(dialogs_, MessageId::FileMissing);
        return;
    }
    if (workspace_.LeaveShownText() != LeaveOutcome::Left) {
        return;
    }
    // No label is current while the whole file shows, so nothing typed into it is saved into a
    // section without the user's say.
    workspace_.SetCurrentLabel(Text());
    workspace_.ShowText(store::ReadWholeDocument(document));
}

} // namespace quorvel::workspace
