#include "workspace/DocumentCommands.h"

#include "store/Backup.h"
#include "store/FileIo.h"
#include "store/Path.h"
#include "store/Settings.h"
#include "text/TextOps.h"
#include "text/Words.h"
#include "ui/Dialogs.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Messages.h"
#include "workspace/Workspace.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace quorvel::workspace {
namespace {

// The caption after a new document is this command's own, not the WindowTitle.
constexpr std::string_view kNewDocumentCaption = "Quorvel--";

enum class DeleteOutcome { Deleted, Failed };

// Moves the file to the desktop's trash. Where trashing fails (no trash can be set up for the
// file's place, or a name Qt cannot spell back to the same bytes) the file is deleted outright.
// A missing file, or a directory, is a failure: nothing is touched.
DeleteOutcome DeleteDocumentPath(const store::Path& path) {
    if (!store::FileExists(path)) {
        return DeleteOutcome::Failed;
    }
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString name = QFile::decodeName(bytes);
    // A name that does not come back as the same bytes would trash some other file.
    if (QFile::encodeName(name) == bytes && QFile::moveToTrash(name)) {
        return DeleteOutcome::Deleted;
    }
    if (store::FileExists(path)) {
        ::unlink(path.c_str());
    }
    return store::FileExists(path) ? DeleteOutcome::Failed : DeleteOutcome::Deleted;
}

} // namespace

std::string DocumentCommands::StartDirectory() const {
    const Text& current = workspace_.CurrentDocument();
    return current.empty() ? std::string() : store::SplitPath(current).directory;
}

// A path that would break the settings file's one-line values.
bool DocumentCommands::RefusesPath(const Text& path) {
    if (!text::HoldsLineBreak(path)) {
        return false;
    }
    ShowMessage(dialogs_, MessageId::FileNameHasLineBreak);
    return true;
}

void DocumentCommands::NewDocument() {
    const std::optional<std::string> chosen =
        dialogs_.AskSaveFile(text::InterfaceText(kNewDocumentTitle), StartDirectory());
    if (!chosen || RefusesPath(*chosen)) {
        return;
    }
    if (workspace_.LeaveShownText() != LeaveOutcome::Left) {
        return;
    }
    // A failed write still adds the document: it shows as a node whose file is missing.
    store::WriteFileAtomic(*chosen, {});
    workspace_.AddDocument(*chosen, DocumentKind::New);
    workspace_.SetCaption(Text(kNewDocumentCaption) + workspace_.CurrentDocument());
    workspace_.ShowText(Text());
}

void DocumentCommands::OpenDocument() {
    const std::optional<std::string> chosen =
        dialogs_.AskOpenFile(text::InterfaceText(kOpenTitle), StartDirectory());
    if (!chosen || RefusesPath(*chosen)) {
        return;
    }
    // Every path the run has seen counts, including documents whose nodes were removed since.
    const std::vector<Text>& documents = workspace_.DocumentList();
    if (std::find(documents.begin(), documents.end(), *chosen) != documents.end()) {
        ShowMessage(dialogs_, MessageId::AlreadyOpen);
        return;
    }
    if (workspace_.LeaveShownText() != LeaveOutcome::Left) {
        return;
    }
    workspace_.AddDocument(*chosen, DocumentKind::Opened);
    workspace_.SetCaptionToDocument(*chosen);
}

void DocumentCommands::SaveDocumentCopy() {
    const Text source = workspace_.CurrentDocument();
    if (source.empty()) {
        ShowMessage(dialogs_, MessageId::NoDocumentToSave);
        return;
    }
    const std::optional<std::string> chosen =
        dialogs_.AskSaveFile(text::InterfaceText(kSaveAsTitle), StartDirectory());
    if (!chosen) {
        return;
    }
    // The file as it is on disk: a pending edit is not saved first.
    if (store::CopyFileAtomic(source, *chosen) != store::IoOutcome::Done) {
        ShowMessage(dialogs_, MessageId::SaveFileFailed);
    }
}

void DocumentCommands::DeleteDocumentFile() {
    const int selected = workspace_.Tree().Selection();
    if (selected == ui::kNoNode) {
        ShowMessage(dialogs_, MessageId::SelectFileToDelete);
        return;
    }
    // The selected node's own document, whichever is current.
    const Text path = workspace_.DocumentPathOf(selected);
    const int documentNode = workspace_.DocumentNodeIndexOf(selected);
    if (ShowMessage(dialogs_, MessageId::ConfirmDeleteFile, path) != ui::MessageAnswer::Yes) {
        return;
    }
    if (DeleteDocumentPath(path) == DeleteOutcome::Failed) {
        ShowMessage(dialogs_, MessageId::DeleteFileFailed);
        return;
    }
    // An edit of the current label belongs to the deleted file when that file is current;
    // saving it would bring the file back. A current label elsewhere keeps its edit.
    const Workspace::PendingEdit pending = path == workspace_.CurrentDocument()
                                               ? Workspace::PendingEdit::Drop
                                               : Workspace::PendingEdit::Save;
    workspace_.DeleteNodeWithoutWriteBack(documentNode, pending);
    store::UnregisterDocument(workspace_.Settings(), path);
}

void DocumentCommands::ManualBackup() {
    const Text& document = workspace_.CurrentDocument();
    if (document.empty()) {
        return;
    }
    const bool made = store::ManualBackupCopy(document) == store::BackupOutcome::Made;
    ShowMessage(dialogs_, made ? MessageId::BackupMade : MessageId::BackupFailed);
}

void DocumentCommands::RestoreBackup(std::string_view prefix) {
    if (workspace_.CurrentDocument().empty()) {
        return;
    }
    // The file replaced is the one whose node is reloaded afterwards: the selected node's
    // document (the current one, as a selection is always loaded), else the current one.
    const int selected = workspace_.Tree().Selection();
    const Text document = selected == ui::kNoNode ? workspace_.CurrentDocument()
                                                  : workspace_.DocumentPathOf(selected);
    switch (store::RestoreBackupCopy(document, prefix)) {
    case store::RestoreOutcome::NoBackup:
        ShowMessage(dialogs_, MessageId::BackupMissing);
        return;
    case store::RestoreOutcome::CopyFailed:
        ShowMessage(dialogs_, MessageId::RestoreFailed);
        return;
    case store::RestoreOutcome::Restored:
        break;
    }
    // Reloads the selected node as a selection change would: a pending edit of the current
    // label is auto-saved into the restored file first.
    workspace_.HandleTreeSelection();
    ShowMessage(dialogs_, MessageId::RestoreDone);
}

} // namespace quorvel::workspace
