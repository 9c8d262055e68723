#pragma once

#include "store/FileIo.h"
#include "store/Path.h"

#include <string_view>

// Backups are whole-file copies beside the document: "备_" + file name, made at start-up, and
// "手备_" + file name, made on demand. A new backup replaces the old one atomically.
namespace quorvel::store {

inline constexpr std::string_view kStartupBackupPrefix = "备_";
inline constexpr std::string_view kManualBackupPrefix = "手备_";

// The directory of the document, then the prefix (UTF-8, converted to the active code page),
// then the document's file name.
Path BackupPath(const Path& documentPath, std::string_view prefix);

// What a backup did; the window and the tool each decide what to say about it.
enum class BackupOutcome {
    Made,
    TooSmall, // 4 bytes or less, or no size could be read: the start-up backup is skipped
    CopyFailed,
};
// The start-up backup: only for a file of more than 4 bytes.
BackupOutcome StartupBackup(const Path& documentPath);

// The manual backup: always copies what is on disk.
BackupOutcome ManualBackupCopy(const Path& documentPath);

// What a restore did; the window and the tool each decide what to say about it.
enum class RestoreOutcome { Restored, NoBackup, CopyFailed };
RestoreOutcome RestoreBackupCopy(const Path& documentPath, std::string_view prefix);

} // namespace quorvel::store
