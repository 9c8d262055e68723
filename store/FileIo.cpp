#include "store/FileIo.h"

#include "store/Path.h"

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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
// replaces the file, not the link. A dangling link resolves to the path it points at.
Path ResolveLinks(Path path) {
    for (int depth = 0; depth < 40; ++depth) {
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
            target = DirectoryOf(path) + "/" + target;
        }
        path = std::move(target);
    }
    return path;
}

mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes a new version of a file: Begin, Write as often as needed, then Commit. Dropping it
// without a commit removes the temporary file and leaves the target as it was.
class AtomicWriter {
public:
    explicit AtomicWriter(const Path& path, std::optional<mode_t> modeForNewFile = std::nullopt)
        : target_(ResolveLinks(path)) {
        if (target_.empty()) {
            return;
        }
        struct stat existing {};
        const bool exists = ::stat(target_.c_str(), &existing) == 0;
        if (exists && S_ISDIR(existing.st_mode)) {
            return;
        }
        // A file its owner made read-only stays as it is: renaming over it would bypass that.
        if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
            return;
        }
        Path pattern = DirectoryOf(target_) + "/." + FileNameOf(target_) + ".XXXXXX";
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) {
            if (exists && (errno == EACCES || errno == EPERM)) {
                OpenInPlace();
            }
            return;
        }
        fd_ = std::make_unique<FileDescriptor>(fd);
        tempPath_ = std::move(pattern);
        const mode_t mode =
            exists ? (existing.st_mode & 07777) : modeForNewFile.value_or(DefaultFileMode());
        ::fchmod(fd, mode);
        if (exists) {
            // Keeps the owner where permitted; an ordinary user cannot, which is harmless.
            [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
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

    bool Write(std::string_view bytes) {
        ok_ = ok_ && fd_ && fd_->valid() && WriteAll(fd_->get(), bytes);
        return ok_;
    }

    IoOutcome Commit() {
        if (!ok_ || !fd_ || !fd_->valid()) {
            return IoOutcome::Failed;
        }
        if (::fsync(fd_->get()) != 0 || !fd_->Close()) {
            return IoOutcome::Failed;
        }
        if (tempPath_.empty()) {
            return IoOutcome::Done; // rewritten in place
        }
        if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
            return IoOutcome::Failed;
        }
        tempPath_.clear();
        SyncDirectory();
        return IoOutcome::Done;
    }

private:
    void OpenInPlace() {
        const int fd = OpenRetrying(target_.c_str(), O_WRONLY | O_TRUNC);
        if (fd >= 0) {
            fd_ = std::make_unique<FileDescriptor>(fd);
        }
    }

    void SyncDirectory() const {
        FileDescriptor directory(
            OpenRetrying(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY));
        if (directory.valid()) {
            ::fsync(directory.get());
        }
    }

    Path target_;
    Path tempPath_;
    std::unique_ptr<FileDescriptor> fd_;
    bool ok_ = true;
};

} // namespace

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

IoOutcome WriteFileAtomic(const Path& path, std::initializer_list<std::string_view> pieces) {
    AtomicWriter writer(path);
    for (std::string_view piece : pieces) {
        if (!writer.Write(piece)) {
            return IoOutcome::Failed;
        }
    }
    return writer.Commit();
}

IoOutcome AppendToFile(const Path& path, std::string_view bytes) {
    FileDescriptor fd(OpenRetrying(path.c_str(), O_WRONLY | O_APPEND));
    if (!fd.valid() || !WriteAll(fd.get(), bytes)) {
        return IoOutcome::Failed;
    }
    return fd.Close() ? IoOutcome::Done : IoOutcome::Failed;
}

IoOutcome CopyFileAtomic(const Path& source, const Path& target) {
    FileDescriptor in(OpenRetrying(source.c_str(), O_RDONLY));
    struct stat info {};
    if (!in.valid() || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return IoOutcome::Failed;
    }
    AtomicWriter writer(target, info.st_mode & 07777);
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

} // namespace quorvel::store
