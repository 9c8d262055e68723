#pragma once

#include "store/Path.h"
#include "text/CodePage.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// File access for the store, on POSIX calls so that a path is exactly the bytes it was given.
// Every whole-file write is atomic: the new content goes into a temporary file in the target's
// directory, is flushed to disk and renamed over the target, so a failure or a kill at any moment
// leaves either the old file or the new one. The target keeps its permissions, owner and extended
// attributes (ACLs included) where they can be copied. Where the directory is not writable but the
// file is, the file is rewritten in place: the space is reserved first, only the bytes from the
// first changed one on are written, and the file is cut to its new length last. A file that is
// not writable, or has no write bit at all (for root too), is never replaced: the write fails.
//
// Every read-modify-write holds a FileLock for the whole read, change and rename, so that two
// processes writing one file both see their change kept.
namespace quorvel::store {

// What a file operation reports to its caller, which decides what to say about it.
enum class IoOutcome {
    Done,
    Failed,
    Busy, // another writer held the file's lock for longer than the lock's timeout
};

// How a write treats a target that is a symbolic link.
enum class LinkRule {
    FollowLinks,  // documents and settings: the file the link names is replaced, the link stays
    ReplaceLinks, // backups, restores and copies: the link itself is replaced, its target untouched
};

inline constexpr std::chrono::milliseconds kLockTimeout{5000};

// The exclusive advisory lock of one file, held from construction to destruction. The lock is
// taken with flock on the file itself, so no lock file is ever left beside the user's notes.
// A writer replaces the file by rename, so the file a waiter finally locks may no longer be the
// one the path names; the lock then checks (device and inode of the descriptor against those of
// the path) and starts again on the new file. This is safe because the path is only ever replaced
// by the holder of the lock on the file it names: once the check passes, no other writer can
// replace the file until this lock is released. Before its rename, a writer locks the new file
// too, so the lock moves with the path to the new file and is never open to a newcomer.
// A missing file (or, for ReplaceLinks, a link) is locked through its directory instead: creating
// the file is the last step of a write, and a writer that finds the file there afterwards locks
// the file itself.
// While the lock is held, temporary files that earlier, killed writers of the same target left in
// its directory are removed.
class FileLock {
public:
    FileLock(const Path& path, LinkRule rule, std::chrono::milliseconds timeout = kLockTimeout);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Done when held; Busy after the timeout; Failed when the path cannot be locked (a link loop,
    // a directory, a FIFO, a missing directory).
    IoOutcome outcome() const { return outcome_; }
    // The path the writes go to: links resolved for FollowLinks.
    const Path& target() const { return target_; }
    LinkRule rule() const { return rule_; }
    // The locked file, or -1 when the lock is held through the directory.
    int fileDescriptor() const { return isDirectory_ ? -1 : fd_; }

    // Takes over the lock of a new file that is about to be renamed to the target.
    void MoveTo(int newFileDescriptor);

private:
    IoOutcome Acquire(std::chrono::milliseconds timeout);
    void Release();

    Path path_;
    Path target_;
    LinkRule rule_ = LinkRule::FollowLinks;
    int fd_ = -1;
    bool isDirectory_ = false;
    IoOutcome outcome_ = IoOutcome::Failed;
};

// The whole content, or nothing when the path is missing, unreadable or not a regular file.
std::optional<Text> ReadFile(const Path& path);

// True for an existing path that is not a directory.
bool FileExists(const Path& path);

// Size in bytes of an existing regular file.
std::optional<std::uint64_t> FileSize(const Path& path);

// Replaces (or creates) the locked file with the concatenation of pieces.
IoOutcome WriteFileAtomic(FileLock& lock, std::initializer_list<std::string_view> pieces);
// The same under a lock of its own, links followed.
IoOutcome WriteFileAtomic(const Path& path, std::initializer_list<std::string_view> pieces);

// Appends to the existing locked file; never creates one. The append is an atomic rewrite (the
// unchanged head is copied inside the kernel), or in place with the space reserved first and the
// file cut back to its old length on failure.
IoOutcome AppendToFile(FileLock& lock, std::string_view bytes);

// Copies source over target atomically under the target's lock, replacing target when it
// exists; a target that is a symbolic link is replaced itself. The source must be a regular file.
IoOutcome CopyFileAtomic(const Path& source, const Path& target);

// Writes all the bytes to an open descriptor, going on after interruptions and short writes;
// false at the first failure.
bool WriteAll(int fd, std::string_view bytes);

// Removes the temporary files earlier, killed writes of this file left beside it, when no other
// writer holds it.
void RemoveStaleTemporaries(const Path& path);

// Why a write of the path would fail, for the message that reports it.
enum class WriteProblem {
    Unknown,
    LinkLoop,           // too many levels of symbolic links
    ReadOnly,           // a file without any write bit
    FolderMissing,      // the file's folder is gone (or is no folder)
    ReadOnlyFileSystem, // mounted read-only
    DiskFull,           // no free block left for this user
    NotPermitted,       // neither the folder nor the file may be written by this user
    Locked,             // another writer holds the file's lock
};
// The error number the system gives for the problem; 0 for Unknown and Locked, which have none.
int ErrorNumberOf(WriteProblem problem);
WriteProblem DiagnoseWriteFailure(const Path& path);

} // namespace quorvel::store
