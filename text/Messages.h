#pragma once

#include "text/CodePage.h"

#include <string_view>

// The words of every message the program gives about a document, a label or a backup, one
// catalogue for the window and for quorvel-notes, so that both say the same thing. The words are
// UTF-8 here; MessageText gives them in the active code page, where they meet a Text. How a
// message is shown (a box with a title and a style, or a line on standard error) is the caller's.
namespace quorvel::text {

// Names each message for the window and the tool alike; the catalogue gives its words.
enum class MessageId {
    // Documents
    AlreadyOpen,
    NoDocumentToSave,
    SaveFileFailed,
    ConfirmDeleteFile, // the path goes between the quotes
    DeleteFileFailed,
    SelectFileToDelete,
    FileNameHasLineBreak,
    FileNameHasSlash,
    // Labels
    NewDocumentFirst,
    NoTextToSave,
    SelectLabelToRename,
    SelectLabelToDelete,
    ConfirmDeleteDocumentNode, // the node's text goes between the quotes
    ConfirmDeleteLabel,        // the node's text goes between the quotes
    FileMissing,
    LabelExists,
    InvalidLabel, // a label the document format cannot hold
    RenameFailed,
    // Saving what the edit box holds
    UnsavedText, // the edit box holds typed text that belongs to no label
    SaveFailed,  // the path and the system's reason follow the words
    CloseAnyway, // after a save failed while closing
    // Backups
    BackupMade,
    BackupFailed,
    BackupMissing,
    RestoreDone,
    RestoreFailed,
};

// Where a message takes the text inserted into it.
enum class Insertion {
    None,  // a confirmation takes it between before and after; any other message ignores it
    AtEnd, // after the words: a report that names what it is about
};

// One entry of the catalogue, a constant the catalogue owns for the whole run.
struct MessageWords {
    MessageId id;
    std::string_view before; // the words; for a confirmation, the part before the inserted text
    std::string_view after;  // for a confirmation, the part after it; "" for any other message
    Insertion insertion = Insertion::None;
};

const MessageWords& MessageWordsOf(MessageId id);

// The message in the active code page. A confirmation (a message with an after part) takes
// inserted between its two parts, a report (Insertion::AtEnd) after its words; any other message
// ignores it.
Text MessageText(MessageId id, std::string_view inserted = {});

} // namespace quorvel::text
