#pragma once

#include "store/Path.h"
#include "text/CodePage.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// File access for the store, on POSIX calls so that a path is exactly the bytes it was given.
// Every whole-file write is atomic: the new content goes into a temporary file in the target's
// directory, is flushed to disk and renamed over the target, so a failure at any moment leaves
// either the old file or the new one. The target keeps its permissions, and a symbolic link stays
// a link with its target replaced. Where the directory is not writable but the file is, the file
// is rewritten in place. A file that is not writable is never replaced: the write fails.
namespace quorvel::store {

// What a file operation reports to its caller, which decides what to say about it.
enum class IoOutcome { Done, Failed };

// The whole content, or nothing when the path is missing, unreadable or not a regular file.
std::optional<Text> ReadFile(const Path& path);

// True for an existing path that is not a directory.
bool FileExists(const Path& path);

// Size in bytes of an existing regular file.
std::optional<std::uint64_t> FileSize(const Path& path);

// Replaces (or creates) the file with the concatenation of pieces.
IoOutcome WriteFileAtomic(const Path& path, std::initializer_list<std::string_view> pieces);

// Appends to an existing file; never creates one.
IoOutcome AppendToFile(const Path& path, std::string_view bytes);

// Copies source over target atomically, replacing target when it exists.
IoOutcome CopyFileAtomic(const Path& source, const Path& target);

// Writes all the bytes to an open descriptor, going on after interruptions and short writes;
// false at the first failure.
bool WriteAll(int fd, std::string_view bytes);

} // namespace quorvel::store
