#pragma once

#include "text/CodePage.h"

#include <string>

// Paths are bytes, exactly as given, and are split in one of two ways. The file system splits at
// every "/" byte; DirectoryOf and FileNameOf do the same, for the calls that reach it. What the
// program composes and shows (a backup's name, a document's folder for a dialog, a tree node's
// name) is text, split by characters of the active code page like every other Text: a "/" byte
// that a lead byte takes in does not separate there.
namespace quorvel::store {

using Path = std::string;

// The directory the file system finds the last component in: everything before the last "/",
// "/" for a component right under the root, "." (the working directory) when there is no "/".
Path DirectoryOf(const Path& path);

// Everything after the last "/" byte; the whole path when there is none.
Path FileNameOf(const Path& path);

// A path split at its last "/" that is a character of its own; the caller owns both parts.
struct SplitPathResult {
    Path directory; // up to and including that "/", or "" when there is none
    Text fileName;
};
SplitPathResult SplitPath(const Path& path);

// The file name of SplitPath without its last extension (from its last "." character):
// "a.b.txt" gives "a.b", a name without a dot stays whole, and a dot-file such as ".txt" gives "".
Text DocumentBaseName(const Path& path);

} // namespace quorvel::store
