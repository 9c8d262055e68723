#pragma once

#include "editor/EditHistory.h"

#include <QObject>

namespace quorvel::ui {
class EditBox;
}

// Ties the edit box to the history: every text change runs RecordTextChange, which reports an
// edit (Edited) when the edit box has the focus and, while recording, appends a snapshot. UndoEdit
// and RedoEdit put snapshots back with recording switched off around the write.
namespace quorvel::editor {

// Uses, without owning: the edit box and the history, both lent for its whole life. Keeps no
// state of its own; what an edit means for saving is decided by whoever listens to Edited.
class EditRecorder : public QObject {
    Q_OBJECT
public:
    EditRecorder(ui::EditBox& editBox, EditHistory& history);

    void SeedHistory();
    void RecordTextChange();
    void UndoEdit();
    void RedoEdit();

signals:
    // The text changed while the edit box had the input focus.
    void Edited();

private:
    void PutBack(const HistoryEntry& entry);

    ui::EditBox& editBox_;
    EditHistory& history_;
};

} // namespace quorvel::editor
