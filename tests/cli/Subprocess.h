#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::testing {

struct ProcessOptions {
    std::string input{}; // fed to standard input, then closed
    // Environment variables set (value) or removed (nullopt) in the child.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment{};
    // RLIMIT_FSIZE in the child: a write past it fails as on a full disk, even for root.
    std::optional<unsigned long> fileSizeLimit{};
};

struct ProcessResult {
    int status = -1; // the exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
    long peakMemoryKiB = 0; // the child's largest resident set
};

// Runs the program with the arguments, feeding and capturing its standard streams.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

} // namespace quorvel::testing
