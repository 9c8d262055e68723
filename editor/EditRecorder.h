#pragma once

#include "editor/EditHistory.h"

#include <QObject>

namespace quorvel::ui {
class EditBox;
}

// Ties the edit box to the history: every text change runs RecordTextChange, which sets the
// DirtyFlag when the edit box has the focus and, while recording, appends a snapshot. UndoEdit
// and RedoEdit put snapshots back with recording switched off around the write.
namespace quorvel::editor {

// 1 once the text changed while the edit box had the focus; cleared by the auto-save.
struct DirtyFlag {
    bool set = false;
};

class EditRecorder : public QObject {
    Q_OBJECT
public:
    EditRecorder(ui::EditBox& editBox, EditHistory& history, DirtyFlag& dirty);

    void SeedHistory();
    void RecordTextChange();
    void UndoEdit();
    void RedoEdit();

private:
    void PutBack(const HistoryEntry& entry);

    ui::EditBox& editBox_;
    EditHistory& history_;
    DirtyFlag& dirty_;
};

} // namespace quorvel::editor
