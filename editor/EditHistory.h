#pragma once

#include "text/CodePage.h"

#include <cstdint>
#include <memory>
#include <optional>

// The program's own undo and redo of the edit box: a list of whole-text snapshots, addressed from
// 1. It holds at most 100 entries: the append that makes 101 removes the 20 oldest at once. A new
// snapshot always goes to the end, whatever the position.
//
// Snapshots are kept compactly: the newest text in full and, between neighbours, only the bytes
// that differ (enough to step either way), plus one rebuilt entry kept while stepping back and
// forth, so a hundred snapshots of a large text cost about two copies of it at most.
namespace quorvel::editor {

// One snapshot, a plain value handed out by the history; the caller owns its copy.
struct HistoryEntry {
    Text text;
    std::int32_t caret = 0; // the selection start when the snapshot was taken
};

// Owns its snapshots (Storage). Owned by the program-wide state for the whole run and lent to the
// edit recorder, which alone appends and steps.
class EditHistory {
public:
    static constexpr int kMaxEntries = 100;
    static constexpr int kTrimCount = 20;

    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // One entry with text "" and caret 0; position 0; not recording.
    void InitHistory();
    // Entry 1 takes the text (its caret stays 0); position 1; recording on.
    void SeedHistory(const Text& text);

    bool IsRecording() const { return recording_; }
    void SetRecording(bool recording) { recording_ = recording; }

    int Count() const;
    int Position() const { return position_; }

    // Appends at the end, sets the position to the end, trims past the limit.
    void Append(const Text& text, std::int32_t caret);

    // Moves the position one entry back (forward) and gives that entry, or nothing at the first
    // (last) entry.
    std::optional<HistoryEntry> StepBack();
    std::optional<HistoryEntry> StepForward();

    // The entry at a 1-based index, rebuilt from the stored differences.
    HistoryEntry Entry(int index) const;

    // Bytes held by the snapshots, for measuring.
    std::size_t StoredBytes() const;

private:
    struct Storage;
    std::unique_ptr<Storage> storage_;
    int position_ = 0;
    bool recording_ = false;
};

} // namespace quorvel::editor
