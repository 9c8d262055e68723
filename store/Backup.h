#pragma once

#include "store/FileIo.h"

#include <string_view>

// Backups are whole-file copies beside the document: "备_" + file name, made at start-up, and
// "手备_" + file name, made on demand. A new backup replaces the old one atomically.
namespace quorvel::store {

inline constexpr std::string_view kStartupBackupPrefix = "备_";
inline constexpr std::string_view kManualBackupPrefix = "手备_";

struct SplitPathResult {
    Path directory; // up to and including the last "/", or "" when there is none
    Text fileName;
};
SplitPathResult SplitPath(const Path& path);

// The directory of the document, then the prefix (UTF-8, converted to the active code page),
// then the document's file name.
Path BackupPath(const Path& documentPath, std::string_view prefix);

enum class BackupOutcome {
    Made,
    TooSmall,   // 4 bytes or less, or no size could be read: the start-up backup is skipped
    CopyFailed,
};
// The start-up backup: only for a file of more than 4 bytes.
BackupOutcome StartupBackup(const Path& documentPath);

// The manual backup: always copies what is on disk.
BackupOutcome ManualBackupCopy(const Path& documentPath);

enum class RestoreOutcome { Restored, NoBackup, CopyFailed };
RestoreOutcome RestoreBackupCopy(const Path& documentPath, std::string_view prefix);

} // namespace quorvel::store
