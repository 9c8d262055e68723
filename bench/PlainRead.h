#pragma once

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel::bench {

// A whole file into memory with the plainest calls: its size, one buffer, read to the end. The
// baseline the store's reads are measured against; "" when the file cannot be read.
inline std::string PlainRead(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return bytes;
}

} // namespace quorvel::bench
