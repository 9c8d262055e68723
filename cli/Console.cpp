#include "cli/Console.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel::cli {
namespace {

constexpr std::string_view kToolName = "quorvel-notes: ";

} // namespace

void Console::Out(std::string_view bytes) {
    if (!outputFailed_ && !store::WriteAll(STDOUT_FILENO, bytes)) {
        outputFailed_ = true;
    }
}

void Console::Err(std::string_view bytes) const {
    store::WriteAll(STDERR_FILENO, bytes);
}

void Console::Complain(std::string_view message) const {
    std::string line(kToolName);
    line.append(message);
    line.push_back('\n');
    Err(line);
}

void Console::Complain(std::string_view message, std::string_view path) const {
    std::string line(message);
    line.append(": ");
    line.append(path);
    Complain(line);
}

std::string PathWithProblem(const store::Path& path) {
    std::string text(path);
    switch (store::DiagnoseWriteFailure(path)) {
    case store::WriteProblem::LinkLoop:
        return text + ": too many levels of symbolic links";
    case store::WriteProblem::ReadOnly:
        return text + ": read-only file";
    case store::WriteProblem::Locked:
        return text + ": another program is writing it";
    case store::WriteProblem::FolderMissing:
        return text + ": its folder does not exist";
    case store::WriteProblem::ReadOnlyFileSystem:
        return text + ": read-only file system";
    case store::WriteProblem::DiskFull:
        return text + ": no space left on the disk";
    case store::WriteProblem::NotPermitted:
        return text + ": permission denied";
    case store::WriteProblem::Unknown:
        break;
    }
    return text;
}

std::optional<Text> ReadAllInput() {
    Text input;
    std::array<char, 1 << 16> buffer{};
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return input;
        }
        input.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

PathState ProbePath(const store::Path& path) {
    struct stat info {};
    if (path.empty()) {
        return PathState::Missing;
    }
    if (::stat(path.c_str(), &info) != 0) {
        // A loop of links is there but can be neither read nor written.
        return errno == ELOOP ? PathState::Unreadable : PathState::Missing;
    }
    if (!S_ISREG(info.st_mode)) {
        return PathState::Unreadable;
    }
    // Non-blocking, so that a file swapped for a FIFO cannot hang the probe.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return PathState::Unreadable;
    }
    ::close(fd);
    return PathState::Readable;
}

} // namespace quorvel::cli
