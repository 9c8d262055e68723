#pragma once

#include "store/FileIo.h"
#include "text/CodePage.h"

#include <cstdint>
#include <memory>

// An INI file read and written one value at a time, with the rules of the classic
// private-profile functions:
//  - section and key names compare ignoring ASCII case; the first matching section and the first
//    matching key in it win, and a later section of the same name is never searched;
//  - a line whose first non-blank byte is ";" is a comment; ";" or "#" inside a value is data;
//  - blanks (space, tab, vertical tab) around names and values are dropped on reading, and so is
//    one pair of enclosing quotes (single or double);
//  - a value reads through a 10,240-byte buffer: a longer one (put there by another program)
//    reads back as its first 10,239 bytes, never cutting a character in two;
//  - a write changes only the line it writes (keeping the existing spelling of the names and the
//    line's own break) and keeps every other byte; a new key goes right after the last key line
//    of its section (right after the header when it has none); a new section goes at the end of
//    the file; lines may end in CR LF, LF or CR, and every line a write adds ends in CR LF.
//
// A value holding CR or LF is refused, and so is one longer than 10,239 bytes, which would read
// back cut. A value that reading back would alter (blanks at either
// end, enclosing quotes) is written inside one pair of double quotes, so it reads back exactly.
//
// A section or key name that could not be found again as written (empty, holding CR or LF,
// blanks at either end, a key holding "=" or starting with ";" or "[", a section holding "]", a
// name ending in a lone lead byte that would take in the "=" or "]" after it) is refused too.
// A missing file is made by the first write, its directory with it; an existing file that
// cannot be read is never written over.
//
// Every write locks the file (see FileLock) so that writers in other processes never lose one
// another's change.
//
// Each read sees the file as it is on disk: every call compares the file's device, inode, size and
// modification and change times with those of the parsed copy, and reads and parses the file again
// only when one of them differs (or, for a copy read in the same clock tick as the file's last
// change, when its bytes differ).
namespace quorvel::store {

// What a write did; the caller decides what to say about it.
enum class ProfileWriteOutcome {
    Written,
    Refused,     // a value, key or section name that the file could not hold as given
    TooLong,     // a value longer than kLongestValue bytes: it would read back cut
    WriteFailed, // the file or its directory could not be written
};

// One INI file, named by its path. It owns the parsed copy of the file (the snapshot), which it
// alone replaces when the file on disk changes; it keeps no file open between calls. A Settings
// owns the one of the settings file; it is neither copied nor shared.
class ProfileFile {
public:
    static constexpr std::size_t kReadBufferSize = 10240;
    static constexpr std::size_t kLongestValue = kReadBufferSize - 1;

    explicit ProfileFile(Path path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const Path& path() const { return path_; }
    bool Exists() const;

    Text Read(const Text& section, const Text& key, const Text& defaultValue) const;
    // Each write holds the file's lock from its read of the file to its rename.
    ProfileWriteOutcome Write(const Text& section, const Text& key, const Text& value);

    // Holds the file's lock until EndUpdate, across several reads and writes that make one
    // change (the writes take no lock of their own meanwhile). Done when the lock is held.
    IoOutcome BeginUpdate();
    void EndUpdate();

private:
    struct Snapshot;
    const Snapshot& Current() const;
    std::unique_ptr<FileLock> LockForWrite() const;

    Path path_;
    mutable std::unique_ptr<Snapshot> snapshot_;
    std::unique_ptr<FileLock> update_; // held between BeginUpdate and EndUpdate
};

} // namespace quorvel::store
