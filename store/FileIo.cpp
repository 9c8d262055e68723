#include "store/FileIo.h"

#include "store/FileFaults.h"
#include "store/Path.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quorvel::store {
namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_ = -1;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Follows symbolic links so that the temporary file is made beside the real file and the rename
// replaces the file, not the link. A dangling link resolves to the path it points at; a loop (or
// a chain too long to be anything else) resolves to nothing.
std::optional<Path> ResolveLinks(Path path) {
    constexpr int kMaxDepth = 40;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::array<char, PATH_MAX> buffer{};
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
            return path;
        }
        Path target(buffer.data(), static_cast<std::size_t>(length));
        if (target.front() != '/') {
            target = DirectoryOf(path).append("/").append(target);
        }
        path = std::move(target);
    }
    return std::nullopt;
}

mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Temporary files are named "." + the target's name + "." + six letters or digits (mkostemp).
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

Path TemporaryPattern(const Path& target) {
    return DirectoryOf(target) + "/." + FileNameOf(target) + Path(kTemporarySuffix);
}

bool IsTemporaryOf(std::string_view entry, std::string_view fileName) {
    if (entry.size() != 1 + fileName.size() + kTemporarySuffix.size() || entry[0] != '.' ||
        entry.substr(1, fileName.size()) != fileName || entry[1 + fileName.size()] != '.') {
        return false;
    }
    for (const char c : entry.substr(entry.size() - 6)) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric) {
            return false;
        }
    }
    return true;
}

// Only called with the target's lock held: every writer of the target holds it for as long as its
// temporary file exists, so any such file found now belongs to a writer that was killed.
void RemoveTemporariesOf(const Path& target) {
    const int directoryFd = OpenRetrying(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (directoryFd < 0) {
        return;
    }
    DIR* directory = ::fdopendir(directoryFd);
    if (directory == nullptr) {
        ::close(directoryFd);
        return;
    }
    const Path fileName = FileNameOf(target);
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(directory)) {
        if (IsTemporaryOf(entry->d_name, fileName)) {
            stale.emplace_back(entry->d_name);
        }
    }
    for (const std::string& name : stale) {
        struct stat info {};
        if (::fstatat(directoryFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(directoryFd, name.c_str(), 0);
        }
    }
    ::closedir(directory);
}

// Copies every extended attribute the process may set (user attributes, ACLs, and more for root);
// one that cannot be copied is skipped, and the write goes on without it.
void CopyExtendedAttributes(int from, int to) {
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize <= 0) {
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    if (got <= 0) {
        return;
    }
    std::vector<char> value;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
        const char* name = names.data() + at;
        at += std::string_view(name).size() + 1;
        const ssize_t valueSize = ::fgetxattr(from, name, nullptr, 0);
        if (valueSize < 0) {
            continue;
        }
        value.resize(static_cast<std::size_t>(valueSize));
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read >= 0) {
            ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0);
        }
    }
}

// The calls below fail where the test seam arms them, as the real ones would on a full disk.
bool WriteWithFaults(int fd, std::string_view bytes) {
    if (faults::Hit(faults::Call::Write)) {
        WriteAll(fd, bytes.substr(0, bytes.size() / 2));
        errno = ENOSPC;
        return false;
    }
    return WriteAll(fd, bytes);
}

bool PwriteAll(int fd, std::string_view bytes, off_t offset) {
    if (faults::Hit(faults::Call::Write)) {
        bytes = bytes.substr(0, bytes.size() / 2);
        static_cast<void>(::pwrite(fd, bytes.data(), bytes.size(), offset));
        errno = ENOSPC;
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

bool Sync(int fd) {
    if (faults::Hit(faults::Call::Fsync)) {
        errno = EIO;
        return false;
    }
    return ::fsync(fd) == 0;
}

// Reserves the first length bytes without changing the file's size. A file system that cannot
// reserve counts as having the room: the write itself still reports a full disk.
bool Reserve(int fd, off_t length) {
    if (faults::Hit(faults::Call::Fallocate)) {
        errno = ENOSPC;
        return false;
    }
    if (length == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length) == 0) {
        return true;
    }
    return errno == EOPNOTSUPP || errno == ENOSYS;
}

// The largest file this process may write (RLIMIT_FSIZE): a write past it would stop part-way.
off_t FileSizeLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::numeric_limits<off_t>::max();
    }
    return static_cast<off_t>(limit.rlim_cur);
}

bool RenameWithFaults(const Path& from, const Path& to) {
    if (faults::Hit(faults::Call::Rename)) {
        errno = EIO;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Copies the first length bytes of from to the end of to; inside the kernel where it can.
bool CopyHead(int from, int to, off_t length) {
    if (faults::Hit(faults::Call::Write)) {
        errno = ENOSPC;
        return false;
    }
    off_t offset = 0;
    while (offset < length) {
        const ssize_t copied = ::copy_file_range(from, &offset, to, nullptr,
                                                 static_cast<std::size_t>(length - offset), 0);
        if (copied > 0) {
            continue;
        }
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied == 0 ||
            (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)) {
            return false;
        }
        // No in-kernel copy between these files: through a buffer instead.
        std::array<char, 1 << 16> buffer{};
        while (offset < length) {
            const ssize_t got = ::pread(from, buffer.data(), buffer.size(), offset);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0 ||
                !WriteAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
                return false;
            }
            offset += got;
        }
    }
    return true;
}

bool IsWritableFile(const Path& path, const struct stat& info) {
    // A file its owner made read-only stays as it is: renaming over it would bypass that. Root
    // passes every access check, so a file without any write bit is refused by its mode as well.
    return (info.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Writes a new version of the locked file: Write as often as needed, then Commit. Dropping it
// without a commit removes the temporary file and leaves the target as it was.
class AtomicWriter {
public:
    explicit AtomicWriter(FileLock& lock, std::optional<mode_t> modeForNewFile = std::nullopt)
        : lock_(lock) {
        if (lock.outcome() != IoOutcome::Done) {
            ok_ = false;
            return;
        }
        const Path& target = lock.target();
        const int existingFd = lock.fileDescriptor();
        struct stat existing {};
        const bool exists = existingFd >= 0 && ::fstat(existingFd, &existing) == 0;
        if (exists && !IsWritableFile(target, existing)) {
            ok_ = false;
            return;
        }
        Path pattern = TemporaryPattern(target);
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) {
            if (exists && (errno == EACCES || errno == EPERM)) {
                OpenInPlace(target);
            } else {
                ok_ = false;
            }
            return;
        }
        fd_ = std::make_unique<FileDescriptor>(fd);
        tempPath_ = std::move(pattern);
        const mode_t mode =
            exists ? (existing.st_mode & 07777) : modeForNewFile.value_or(DefaultFileMode());
        if (exists) {
            // Keeps the owner where permitted; an ordinary user cannot, which is harmless.
            [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
        }
        ::fchmod(fd, mode);
        if (exists) {
            CopyExtendedAttributes(existingFd, fd);
        }
    }

    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    ~AtomicWriter() {
        if (!tempPath_.empty()) {
            fd_.reset();
            ::unlink(tempPath_.c_str());
        }
    }

    bool inPlace() const { return inPlace_; }

    // Starts the new content with the locked file's whole present content.
    bool KeepHead() {
        struct stat info {};
        const int from = lock_.fileDescriptor();
        ok_ = ok_ && from >= 0 && ::fstat(from, &info) == 0;
        if (!ok_) {
            return false;
        }
        if (inPlace_) {
            kept_ = info.st_size;
            return true;
        }
        ok_ = CopyHead(from, fd_->get(), info.st_size);
        return ok_;
    }

    bool Write(std::string_view bytes) {
        if (inPlace_) {
            pending_.append(bytes);
            return ok_;
        }
        ok_ = ok_ && fd_ && fd_->valid() && WriteWithFaults(fd_->get(), bytes);
        return ok_;
    }

    IoOutcome Commit() {
        if (!ok_ || !fd_ || !fd_->valid()) {
            return IoOutcome::Failed;
        }
        if (inPlace_) {
            return CommitInPlace();
        }
        if (!Sync(fd_->get())) {
            return IoOutcome::Failed;
        }
        // The new file is locked before it takes the path, so the lock moves with the path.
        FileDescriptor held(::fcntl(fd_->get(), F_DUPFD_CLOEXEC, 0));
        if (held.valid() && ::flock(held.get(), LOCK_EX | LOCK_NB) != 0) {
            held.Close();
        }
        if (!fd_->Close() || !RenameWithFaults(tempPath_, lock_.target())) {
            return IoOutcome::Failed;
        }
        tempPath_.clear();
        if (held.valid()) {
            lock_.MoveTo(::fcntl(held.get(), F_DUPFD_CLOEXEC, 0));
        }
        SyncDirectory();
        return IoOutcome::Done;
    }

private:
    void OpenInPlace(const Path& target) {
        const int fd = OpenRetrying(target.c_str(), O_RDWR | O_NOFOLLOW);
        ok_ = fd >= 0;
        if (ok_) {
            fd_ = std::make_unique<FileDescriptor>(fd);
            inPlace_ = true;
        }
    }

    // Where the new content first differs from the file's bytes, from the kept head on.
    std::optional<off_t> FirstChange(off_t oldSize) const {
        std::array<char, 1 << 16> buffer{};
        off_t at = kept_;
        std::size_t compared = 0;
        while (at < oldSize && compared < pending_.size()) {
            const std::size_t want =
                std::min<std::size_t>({buffer.size(), static_cast<std::size_t>(oldSize - at),
                                       pending_.size() - compared});
            const ssize_t got = ::pread(fd_->get(), buffer.data(), want, at);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return std::nullopt;
            }
            const std::string_view old(buffer.data(), static_cast<std::size_t>(got));
            const std::string_view now = std::string_view(pending_).substr(compared, old.size());
            const auto mismatch = std::mismatch(old.begin(), old.end(), now.begin());
            if (mismatch.first != old.end()) {
                return at + (mismatch.first - old.begin());
            }
            at += got;
            compared += old.size();
        }
        return at;
    }

    // The room is reserved before the first byte is overwritten and the file is cut to its new
    // length last, so a full disk leaves the old file. A crash in the middle of the write can
    // still leave a mix of old and new bytes: with the folder not writable there is no other way.
    IoOutcome CommitInPlace() {
        const int fd = fd_->get();
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            return IoOutcome::Failed;
        }
        const off_t oldSize = info.st_size;
        const off_t newSize = kept_ + static_cast<off_t>(pending_.size());
        const std::optional<off_t> first = FirstChange(oldSize);
        if (!first || newSize > FileSizeLimit() || !Reserve(fd, newSize)) {
            return IoOutcome::Failed;
        }
        const std::string_view changed =
            std::string_view(pending_).substr(static_cast<std::size_t>(*first - kept_));
        if (!PwriteAll(fd, changed, *first)) {
            if (*first >= oldSize) {
                // Only bytes past the old end were written: cutting them restores the old file.
                static_cast<void>(::ftruncate(fd, oldSize));
            }
            return IoOutcome::Failed;
        }
        if (!Sync(fd) || (newSize < oldSize && ::ftruncate(fd, newSize) != 0) || !Sync(fd)) {
            return IoOutcome::Failed;
        }
        return fd_->Close() ? IoOutcome::Done : IoOutcome::Failed;
    }

    void SyncDirectory() const {
        FileDescriptor directory(
            OpenRetrying(DirectoryOf(lock_.target()).c_str(), O_RDONLY | O_DIRECTORY));
        if (directory.valid()) {
            ::fsync(directory.get());
        }
    }

    FileLock& lock_;
    Path tempPath_;
    std::unique_ptr<FileDescriptor> fd_;
    bool ok_ = true;
    bool inPlace_ = false;
    off_t kept_ = 0; // in place: the leading bytes of the file that stay as they are
    Text pending_;   // in place: the new bytes after the kept ones
};

// Takes the lock on fd within the deadline.
IoOutcome LockBefore(int fd, std::chrono::steady_clock::time_point deadline) {
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return IoOutcome::Done;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return IoOutcome::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return IoOutcome::Busy;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file a lock of path is taken on: the file its links name, or the path itself where links
// are replaced rather than followed. Nothing for a loop of links.
std::optional<Path> LockTargetOf(const Path& path, LinkRule rule) {
    return rule == LinkRule::FollowLinks ? ResolveLinks(path) : std::optional<Path>(path);
}

// What a lock is taken on: the regular file, or its directory while there is no file yet. The
// caller owns the descriptor.
struct LockCandidate {
    int fd = -1;
    bool byDirectory = false;
    struct stat info {};
};

std::optional<LockCandidate> OpenLockCandidate(const Path& target) {
    // Non-blocking so that a FIFO cannot hang the open; it is refused just below.
    int fd = OpenRetrying(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0 && errno == EACCES) {
        fd = OpenRetrying(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW);
    }
    const bool byDirectory = fd < 0 && (errno == ENOENT || errno == ELOOP);
    if (byDirectory) {
        fd = OpenRetrying(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    }
    if (fd < 0) {
        return std::nullopt;
    }
    LockCandidate candidate{.fd = fd, .byDirectory = byDirectory};
    if (::fstat(fd, &candidate.info) != 0 || (!byDirectory && !S_ISREG(candidate.info.st_mode))) {
        ::close(fd);
        return std::nullopt;
    }
    return candidate;
}

// Whether the path still names what was locked, once the lock is held: the same file, or, for
// a lock of the directory, still no file (or a link that the write is to replace).
bool StillNamesCandidate(const Path& target, LinkRule rule, const LockCandidate& candidate) {
    struct stat now {};
    const bool present = ::lstat(target.c_str(), &now) == 0;
    if (!candidate.byDirectory) {
        return present && SameFile(now, candidate.info);
    }
    return !present || (S_ISLNK(now.st_mode) && rule == LinkRule::ReplaceLinks);
}
} // namespace

FileLock::FileLock(const Path& path, LinkRule rule, std::chrono::milliseconds timeout)
    : path_(path), rule_(rule) {
    outcome_ = Acquire(faults::LockTimeout(timeout));
    if (outcome_ == IoOutcome::Done) {
        RemoveTemporariesOf(target_);
    }
}

FileLock::~FileLock() {
    Release();
}

void FileLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the last descriptor of the open file releases its lock
    }
    fd_ = -1;
}

void FileLock::MoveTo(int newFileDescriptor) {
    if (newFileDescriptor < 0) {
        return;
    }
    Release();
    fd_ = newFileDescriptor;
    isDirectory_ = false;
}

IoOutcome FileLock::Acquire(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::optional<Path> target = LockTargetOf(path_, rule_);
        if (!target || target->empty()) {
            return IoOutcome::Failed; // a loop of links, or no path at all
        }
        target_ = std::move(*target);
        const std::optional<LockCandidate> candidate = OpenLockCandidate(target_);
        if (!candidate) {
            return IoOutcome::Failed;
        }
        const FileDescriptor held(candidate->fd);
        const IoOutcome waited = LockBefore(held.get(), deadline);
        if (waited != IoOutcome::Done) {
            return waited;
        }
        if (StillNamesCandidate(target_, rule_, *candidate)) {
            fd_ = ::fcntl(held.get(), F_DUPFD_CLOEXEC, 0);
            isDirectory_ = candidate->byDirectory;
            return fd_ >= 0 ? IoOutcome::Done : IoOutcome::Failed;
        }
        // The holder before replaced the file; the new one is locked in turn.
        if (std::chrono::steady_clock::now() >= deadline) {
            return IoOutcome::Busy;
        }
    }
}

std::optional<Text> ReadFile(const Path& path) {
    // Non-blocking so that opening a FIFO cannot hang; it is then refused as not a regular file.
    FileDescriptor fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK));
    if (!fd.valid()) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    Text content;
    // One byte more than the size, so that the read that finds the end needs no larger buffer
    // (growing would copy the whole content once more).
    content.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            content.resize(content.size() + 65536); // the file grew while being read
        }
        const ssize_t got = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return content;
}

bool FileExists(const Path& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::optional<std::uint64_t> FileSize(const Path& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

IoOutcome WriteFileAtomic(FileLock& lock, std::initializer_list<std::string_view> pieces) {
    if (lock.outcome() != IoOutcome::Done) {
        return lock.outcome();
    }
    AtomicWriter writer(lock);
    for (std::string_view piece : pieces) {
        if (!writer.Write(piece)) {
            return IoOutcome::Failed;
        }
    }
    return writer.Commit();
}

IoOutcome WriteFileAtomic(const Path& path, std::initializer_list<std::string_view> pieces) {
    FileLock lock(path, LinkRule::FollowLinks);
    return WriteFileAtomic(lock, pieces);
}

// The old content is copied into the new file inside the kernel, so the append costs a copy of
// the file without passing it through this process, and a kill leaves the old file or the new.
IoOutcome AppendToFile(FileLock& lock, std::string_view bytes) {
    if (lock.outcome() != IoOutcome::Done) {
        return lock.outcome();
    }
    if (lock.fileDescriptor() < 0) {
        return IoOutcome::Failed; // never creates a file
    }
    AtomicWriter writer(lock);
    if (!writer.KeepHead() || !writer.Write(bytes)) {
        return IoOutcome::Failed;
    }
    return writer.Commit();
}

IoOutcome CopyFileAtomic(const Path& source, const Path& target) {
    // Non-blocking so that a FIFO cannot hang the open; it is refused as not a regular file.
    FileDescriptor in(OpenRetrying(source.c_str(), O_RDONLY | O_NONBLOCK));
    struct stat info {};
    if (!in.valid() || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return IoOutcome::Failed;
    }
    FileLock lock(target, LinkRule::ReplaceLinks);
    if (lock.outcome() != IoOutcome::Done) {
        return lock.outcome();
    }
    AtomicWriter writer(lock, info.st_mode & 07777);
    std::array<char, 1 << 16> buffer{};
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return IoOutcome::Failed;
        }
        if (got == 0) {
            break;
        }
        if (!writer.Write(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
            return IoOutcome::Failed;
        }
    }
    return writer.Commit();
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void RemoveStaleTemporaries(const Path& path) {
    // Taking the lock removes them; a writer holding it now removes them itself.
    const FileLock lock(path, LinkRule::FollowLinks, std::chrono::milliseconds(0));
}

WriteProblem DiagnoseWriteFailure(const Path& path) {
    const std::optional<Path> resolved = ResolveLinks(path);
    if (!resolved) {
        return WriteProblem::LinkLoop;
    }
    struct stat info {};
    if (::stat(resolved->c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        (info.st_mode & 0222) == 0) {
        return WriteProblem::ReadOnly;
    }
    const Path folder = DirectoryOf(*resolved);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
        return WriteProblem::FolderMissing;
    }
    struct statvfs volume {};
    if (::statvfs(folder.c_str(), &volume) == 0) {
        if ((volume.f_flag & ST_RDONLY) != 0) {
            return WriteProblem::ReadOnlyFileSystem;
        }
        // Root may still write into the blocks kept back for it.
        const bool noRoom = ::geteuid() == 0 ? volume.f_bfree == 0 : volume.f_bavail == 0;
        if (noRoom) {
            return WriteProblem::DiskFull;
        }
    }
    if (::access(folder.c_str(), W_OK) != 0 && ::access(resolved->c_str(), W_OK) != 0) {
        return WriteProblem::NotPermitted;
    }
    const FileLock lock(path, LinkRule::FollowLinks, std::chrono::milliseconds(0));
    return lock.outcome() == IoOutcome::Busy ? WriteProblem::Locked : WriteProblem::Unknown;
}

int ErrorNumberOf(WriteProblem problem) {
    switch (problem) {
    case WriteProblem::LinkLoop:
        return ELOOP;
    case WriteProblem::ReadOnly:
    case WriteProblem::NotPermitted:
        return EACCES;
    case WriteProblem::FolderMissing:
        return ENOENT;
    case WriteProblem::ReadOnlyFileSystem:
        return EROFS;
    case WriteProblem::DiskFull:
        return ENOSPC;
    case WriteProblem::Locked:
    case WriteProblem::Unknown:
        break;
    }
    return 0;
}

} // namespace quorvel::store
