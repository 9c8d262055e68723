#pragma once

#include "store/FileIo.h"

#include <optional>
#include <string>
#include <string_view>

// What the tool reads and writes besides the files it is asked about: standard input as bytes,
// standard output byte for byte, messages on standard error, and the exit statuses.
namespace quorvel::cli {

// The exit status of a run, decided by the command that ran.
enum class Status : int {
    Success = 0,
    Negative = 1,  // the operation's own outcome: not found, exists, refused, nothing made
    Usage = 2,     // wrong arguments
    FileError = 3, // a file could not be written or read as asked
};

// Standard output and standard error of the run. main owns the one console and lends it to the
// command through its Invocation; it owns nothing but whether writing the output failed.
class Console {
public:
    // Writes the bytes to standard output unchanged; a failure is remembered for the exit status.
    void Out(std::string_view bytes);
    // Writes the bytes to standard error unchanged.
    void Err(std::string_view bytes) const;
    // Writes one line to standard error, prefixed with the tool's name.
    void Complain(std::string_view message) const;
    void Complain(std::string_view message, std::string_view path) const;

    bool OutputFailed() const { return outputFailed_; }

private:
    bool outputFailed_ = false;
};

// The path, followed by why writing it failed where that can be told (a loop of links, a file
// without any write bit, a lock held by another writer).
std::string PathWithProblem(const store::Path& path);

// All of standard input, zero bytes and line breaks as they are; nothing when it cannot be read.
std::optional<Text> ReadAllInput();

// What the tool finds at a path before it hands the path to the store.
enum class PathState {
    Missing,
    Readable,   // a regular file that can be opened for reading
    Unreadable, // there, but a directory, a device or a file without read permission
};
PathState ProbePath(const store::Path& path);

} // namespace quorvel::cli
