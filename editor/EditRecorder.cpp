#include "editor/EditRecorder.h"

#include "ui/EditBox.h"

namespace quorvel::editor {

EditRecorder::EditRecorder(ui::EditBox& editBox, EditHistory& history)
    : editBox_(editBox), history_(history) {
    connect(&editBox_, &ui::EditBox::TextChanged, this, &EditRecorder::RecordTextChange);
}

void EditRecorder::SeedHistory() {
    history_.SeedHistory(editBox_.ReadText());
}

void EditRecorder::RecordTextChange() {
    // The focus rule holds whether or not recording is on, so an undo typed into the box counts
    // as an edit of the box.
    if (editBox_.HasInputFocus()) {
        emit Edited();
    }
    if (!history_.IsRecording()) {
        return;
    }
    const std::int32_t caret = editBox_.SelectionStart();
    history_.Append(editBox_.ReadText(), caret);
}

void EditRecorder::UndoEdit() {
    if (auto entry = history_.StepBack()) {
        PutBack(*entry);
    }
}

void EditRecorder::RedoEdit() {
    if (auto entry = history_.StepForward()) {
        PutBack(*entry);
    }
}

void EditRecorder::PutBack(const HistoryEntry& entry) {
    // The write raises TextChanged inside itself; with recording off it only applies the focus
    // rule.
    history_.SetRecording(false);
    editBox_.WriteText(entry.text);
    editBox_.SetSelectionStart(entry.caret);
    history_.SetRecording(true);
}

} // namespace quorvel::editor
