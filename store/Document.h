#pragma once

#include "store/FileIo.h"
#include "text/CodePage.h"

#include <functional>
#include <string_view>
#include <vector>

// The labelled document format. A document is a text file divided into sections; a section
// opens with a header line "[#" label "]" and runs to the line break before the next line that
// begins with "[#", or to the end of the file. Bytes before the first header belong to no section.
//
// Every operation reads the file afresh and keeps nothing between calls. A change holds the file's
// lock from its read to its write (see FileLock) and rewrites the file atomically, an append too;
// a rewrite keeps every byte outside the span it changes,
// zero bytes and all. A label's header counts only as a whole line (it starts the file or follows
// a line feed, and is followed by a line break or the end of the file); the first such line of a
// label is the one every operation finds. Lines end at LF, a CR before the LF belonging to the
// break; new breaks are LF in a file whose breaks are all LF, CR LF everywhere else.
//
// The operations show nothing: they report their outcome and the caller decides what to say.
namespace quorvel::store {

// True when the label makes a header line that every operation finds and every listing shows:
// no CR or LF, which would break the line, and no zero byte or 0x1A, at which a listing ends.
// Every operation that writes a label refuses any other.
bool IsValidLabel(std::string_view label);

// The labels of the header lines, in file order with duplicates. A zero byte or 0x1A ends the
// listing; a missing or unreadable file has no labels.
std::vector<Text> ListLabels(const Path& path);

// What ReadSection found, handed to the caller, who owns it; nothing refers back to the file.
struct SectionRead {
    bool found = false;
    Text text; // up to the first zero byte of the section text
};
// The text between the label's header line and the break before the next header line; a missing
// or unreadable file reads as empty and finds nothing.
SectionRead ReadSection(const Path& path, const Text& label);

// How SaveSection treats a label, chosen by the caller.
enum class SaveMode {
    Create, // add an empty section for a new label, refused when the label exists
    Save,   // replace the section's text, or append the section when it is missing
};

// What SaveSection did; the caller decides what to tell the user.
enum class SaveOutcome {
    NothingToSave, // save mode with an empty text: nothing is touched
    CreatedFile,   // the file did not exist and now holds the section alone
    Appended,
    Replaced,
    LabelExists,  // create mode: the label is already there; nothing is written
    InvalidLabel, // not IsValidLabel; nothing is written
    WriteFailed,  // also for an existing file that cannot be read: nothing is appended blindly;
                  // and when another writer held the file's lock past the timeout
};
SaveOutcome SaveSection(const Path& path, const Text& label, SaveMode mode, const Text& text);

// True when a create-mode save added the label's header (CreatedFile or Appended).
bool IsAdded(SaveOutcome outcome);

// RenameLabel and DeleteSection look the label up in two steps: the first header line equal to it
// ignoring ASCII case decides whether it is there at all; the first exact one from there on is
// the one they change. With none exact, the file is written back as it was.
// What RenameLabel did; the caller decides what to tell the user.
enum class RenameOutcome {
    Renamed,      // also when only a header differing in case was found and nothing was replaced
    NotFound,     // no header of the old label, in any case
    LabelExists,  // the new label already has a header line; the file is untouched
    InvalidLabel, // the new label is not IsValidLabel; the file is untouched
    WriteFailed,
};
RenameOutcome RenameLabel(const Path& path, const Text& oldLabel, const Text& newLabel);

// What DeleteSection did; the caller decides what to tell the user.
enum class DeleteOutcome {
    Deleted, // also when only a header differing in case was found and nothing was removed
    NotFound,
    WriteFailed,
};
DeleteOutcome DeleteSection(const Path& path, const Text& label);

// The whole file up to its first zero byte; "" for a missing or unreadable file.
Text ReadWholeDocument(const Path& path);

enum class StreamOutcome {
    Done,       // every byte up to the first zero byte went to the sink (none for a missing file)
    Stopped,    // the sink refused a piece
    ReadFailed, // not a regular file, or a read failed part way
};
// The bytes ReadWholeDocument gives, handed to the sink in pieces of a fixed size, so that memory
// stays the same for any size of document. The sink answers false to stop.
StreamOutcome StreamWholeDocument(const Path& path,
                                  const std::function<bool(std::string_view)>& sink);

} // namespace quorvel::store
