#include "Subprocess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvel::testing {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
};

Pipe MakePipe() {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return {};
    }
    return {fds[0], fds[1]};
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// In the child: wire the streams, set the environment and limits, and run the program.
[[noreturn]] void ExecChild(const std::string& program, const std::vector<std::string>& arguments,
                            const ProcessOptions& options, const Pipe& in, const Pipe& out,
                            const Pipe& err) {
    ::dup2(in.read, STDIN_FILENO);
    ::dup2(out.write, STDOUT_FILENO);
    ::dup2(err.write, STDERR_FILENO);
    for (const auto& [name, value] : options.environment) {
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    if (options.fileSizeLimit) {
        // Ignored, the signal a write past the limit raises turns into a failing write (EFBIG).
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

void Drain(int& fd, short revents, std::string& target) {
    if (fd < 0 || revents == 0) {
        return;
    }
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        target.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
        CloseIfOpen(fd);
    }
}

// Feeds the input and drains both outputs at once, so that neither side blocks on a full pipe.
void Exchange(int& inFd, int& outFd, int& errFd, const std::string& input, ProcessResult& result) {
    std::size_t written = 0;
    if (input.empty()) {
        CloseIfOpen(inFd);
    } else {
        // Non-blocking, so that a write never waits while the child waits for its output to drain.
        ::fcntl(inFd, F_SETFL, ::fcntl(inFd, F_GETFL) | O_NONBLOCK);
    }
    while (inFd >= 0 || outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (inFd >= 0 && fds[0].revents != 0) {
            const ssize_t n = ::write(inFd, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            const bool retry = n < 0 && (errno == EAGAIN || errno == EINTR);
            if ((n < 0 && !retry) || written == input.size()) {
                CloseIfOpen(inFd);
            }
        }
        Drain(outFd, fds[1].revents, result.out);
        Drain(errFd, fds[2].revents, result.err);
    }
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options) {
    ProcessResult result;
    Pipe in = MakePipe();
    Pipe out = MakePipe();
    Pipe err = MakePipe();
    // A child that exits before reading all its input must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ExecChild(program, arguments, options, in, out, err);
    }
    CloseIfOpen(in.read);
    CloseIfOpen(out.write);
    CloseIfOpen(err.write);
    if (pid > 0) {
        Exchange(in.write, out.read, err.read, options.input, result);
        int status = 0;
        rusage usage{};
        while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        result.peakMemoryKiB = usage.ru_maxrss;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    CloseIfOpen(in.write);
    CloseIfOpen(out.read);
    CloseIfOpen(err.read);
    return result;
}

} // namespace quorvel::testing
