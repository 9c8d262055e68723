#include "cli/Commands.h"
#include "cli/Reports.h"
#include "store/Backup.h"
#include "store/Document.h"
#include "text/Messages.h"

#include <initializer_list>

namespace quorvel::cli {
namespace {

using text::MessageId;
using text::MessageText;

Status InvalidLabel(const Invocation& run) {
    run.console.Complain(MessageText(MessageId::InvalidLabel));
    return Status::Negative;
}

// Each label argument is checked before any file is touched, so that every command refuses the
// labels the document format cannot hold alike.
bool RefusesLabels(const Invocation& run, std::initializer_list<std::size_t> labelArguments) {
    for (const std::size_t index : labelArguments) {
        if (!store::IsValidLabel(run.arguments[index])) {
            InvalidLabel(run);
            return true;
        }
    }
    return false;
}

Status LabelNotFound(const Invocation& run, const Text& label) {
    run.console.Complain("no such label", label);
    return Status::Negative;
}

Status ReportSave(const Invocation& run, const store::Path& document, store::SaveOutcome outcome) {
    switch (outcome) {
    case store::SaveOutcome::NothingToSave:
    case store::SaveOutcome::CreatedFile:
    case store::SaveOutcome::Appended:
    case store::SaveOutcome::Replaced:
        return Status::Success;
    case store::SaveOutcome::LabelExists:
        run.console.Complain(MessageText(MessageId::LabelExists));
        return Status::Negative;
    case store::SaveOutcome::InvalidLabel:
        return InvalidLabel(run);
    case store::SaveOutcome::WriteFailed:
        break;
    }
    return WriteFailed(run, document);
}

std::string_view PrefixOf(BackupKind kind) {
    return kind == BackupKind::Manual ? store::kManualBackupPrefix : store::kStartupBackupPrefix;
}

} // namespace

Status ListLabelsCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    for (const Text& label : store::ListLabels(document)) {
        run.console.Out(label);
        run.console.Out("\n");
    }
    return Status::Success;
}

Status ReadCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    const Text& label = run.arguments[1];
    if (RefusesLabels(run, {1})) {
        return Status::Negative;
    }
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    const store::SectionRead section = store::ReadSection(document, label);
    if (!section.found) {
        return LabelNotFound(run, label);
    }
    run.console.Out(section.text);
    return Status::Success;
}

Status SaveCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (RefusesLabels(run, {1})) {
        return Status::Negative;
    }
    const std::optional<Text> text = ReadAllInput();
    if (!text) {
        run.console.Complain("cannot read standard input");
        return Status::FileError;
    }
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    return ReportSave(run, document,
                      store::SaveSection(document, run.arguments[1], store::SaveMode::Save, *text));
}

Status NewCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (RefusesLabels(run, {1})) {
        return Status::Negative;
    }
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    return ReportSave(run, document,
                      store::SaveSection(document, run.arguments[1], store::SaveMode::Create, {}));
}

Status RenameCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (RefusesLabels(run, {1, 2})) {
        return Status::Negative;
    }
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    switch (store::RenameLabel(document, run.arguments[1], run.arguments[2])) {
    case store::RenameOutcome::Renamed:
        return Status::Success;
    case store::RenameOutcome::NotFound:
        run.console.Complain(MessageText(MessageId::RenameFailed));
        return Status::Negative;
    case store::RenameOutcome::LabelExists:
        run.console.Complain(MessageText(MessageId::LabelExists));
        return Status::Negative;
    case store::RenameOutcome::InvalidLabel:
        return InvalidLabel(run);
    case store::RenameOutcome::WriteFailed:
        break;
    }
    return WriteFailed(run, document);
}

Status DeleteCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (RefusesLabels(run, {1})) {
        return Status::Negative;
    }
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    switch (store::DeleteSection(document, run.arguments[1])) {
    case store::DeleteOutcome::Deleted:
        return Status::Success;
    case store::DeleteOutcome::NotFound:
        return LabelNotFound(run, run.arguments[1]);
    case store::DeleteOutcome::WriteFailed:
        break;
    }
    return WriteFailed(run, document);
}

Status CatCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    if (CannotRead(run, document)) {
        return Status::FileError;
    }
    // Streamed, so that the document is never held in memory whole.
    const store::StreamOutcome outcome =
        store::StreamWholeDocument(document, [&](std::string_view bytes) {
            run.console.Out(bytes);
            return !run.console.OutputFailed();
        });
    if (outcome == store::StreamOutcome::ReadFailed) {
        run.console.Complain("cannot read", document);
        return Status::FileError;
    }
    return Status::Success; // a failed output is reported with the exit status
}

Status BackupCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    const bool manual = run.backupKind == BackupKind::Manual;
    const store::BackupOutcome outcome =
        manual ? store::ManualBackupCopy(document) : store::StartupBackup(document);
    switch (outcome) {
    case store::BackupOutcome::Made:
        return Status::Success;
    case store::BackupOutcome::TooSmall:
        run.console.Complain(store::FileExists(document) ? "no backup made, 4 bytes or less"
                                                         : "no backup made, no such document",
                             document);
        return Status::Negative;
    case store::BackupOutcome::CopyFailed:
        break;
    }
    run.console.Complain(MessageText(MessageId::BackupFailed) + ": cannot copy " +
                         PathWithProblem(document) + " to " +
                         PathWithProblem(store::BackupPath(document, PrefixOf(run.backupKind))));
    return Status::FileError;
}

Status RestoreCommand(const Invocation& run) {
    const Text& document = run.arguments[0];
    const store::Path backup = store::BackupPath(document, PrefixOf(run.backupKind));
    switch (store::RestoreBackupCopy(document, PrefixOf(run.backupKind))) {
    case store::RestoreOutcome::Restored:
        return Status::Success;
    case store::RestoreOutcome::NoBackup:
        run.console.Complain(MessageText(MessageId::BackupMissing), backup);
        return Status::Negative;
    case store::RestoreOutcome::CopyFailed:
        break;
    }
    run.console.Complain(MessageText(MessageId::RestoreFailed) + ": cannot copy " +
                         PathWithProblem(backup) + " over " + PathWithProblem(document));
    return Status::FileError;
}

} // namespace quorvel::cli
