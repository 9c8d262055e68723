#include "store/Backup.h"

#include "text/Words.h"

namespace quorvel::store {
namespace {

BackupOutcome CopyToBackup(const Path& documentPath, std::string_view prefix) {
    return CopyFileAtomic(documentPath, BackupPath(documentPath, prefix)) == IoOutcome::Done
               ? BackupOutcome::Made
               : BackupOutcome::CopyFailed;
}

} // namespace

Path BackupPath(const Path& documentPath, std::string_view prefix) {
    const SplitPathResult parts = SplitPath(documentPath);
    return parts.directory + text::InterfaceText(prefix) + parts.fileName;
}

BackupOutcome StartupBackup(const Path& documentPath) {
    const std::optional<std::uint64_t> size = FileSize(documentPath);
    if (!size || *size <= 4) {
        return BackupOutcome::TooSmall;
    }
    return CopyToBackup(documentPath, kStartupBackupPrefix);
}

BackupOutcome ManualBackupCopy(const Path& documentPath) {
    return CopyToBackup(documentPath, kManualBackupPrefix);
}

RestoreOutcome RestoreBackupCopy(const Path& documentPath, std::string_view prefix) {
    const Path backup = BackupPath(documentPath, prefix);
    if (!FileExists(backup)) {
        return RestoreOutcome::NoBackup;
    }
    return CopyFileAtomic(backup, documentPath) == IoOutcome::Done ? RestoreOutcome::Restored
                                                                   : RestoreOutcome::CopyFailed;
}

} // namespace quorvel::store
