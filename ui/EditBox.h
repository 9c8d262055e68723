#pragma once

#include "text/CodePage.h"

#include <QObject>
#include <cstdint>
#include <memory>

class QPlainTextEdit;
class QWidget;

// The edit box in the program's own terms: text and selection as bytes and byte offsets in
// the active code page, line breaks included (a CR LF counts two bytes), whatever Qt keeps inside.
//
// Events: TextChanged fires exactly once per write of the whole text (even an unchanged one) and
// once per change made inside the control (typing, paste, Delete, a replace-selection); never for
// WriteTextWithoutEvent, a format change or a keystroke that changes nothing. It fires
// synchronously, inside the write, with the new text and caret already readable.
//
// Keys: Ctrl+Z, Ctrl+Y, Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+A are left to the window's shortcuts;
// the control's own undo and redo keys do nothing.
namespace quorvel::ui {

enum class UndoFlag { NotUndoable = 0, Undoable = 1 };

// Owns its Qt widget (until the parent window deletes it first) and the byte view of its text
// (State). Owned by the main window, or a test; the recorder and the workspace only use it.
class EditBox : public QObject {
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);
    ~EditBox() override;

    QPlainTextEdit* widget() const;

    // The whole text. A write replaces everything and leaves the caret at 0, nothing selected.
    Text ReadText() const;
    void WriteText(const Text& text);

    // Selection start: the start of the selection, or the caret. Writing v (negative counts as
    // 0) selects from v as many bytes as the selection length last written (0 until one is).
    std::int32_t SelectionStart() const;
    void SetSelectionStart(std::int32_t start);
    // Writing n selects n bytes from the selection start last written.
    void SetSelectionLength(std::int32_t length);

    // The selected bytes.
    Text SelectedText() const;

    bool HasInputFocus() const;

    // What the edit commands need of the box.
    // The selected bytes onto the clipboard; nothing happens without a selection.
    void CopySelectionToClipboard();
    // The clipboard's text in place of the selection, its own line breaks kept.
    void PasteFromClipboard();
    // The selection replaced by text (caret after it), in the control's own undo buffer when undo
    // says so; raises TextChanged when the text changed.
    void ReplaceSelection(const Text& text, UndoFlag undo);
    // Selects bytes start to end; an end of -1 is the end of the text; a start of -1 selects
    // nothing and keeps the caret.
    void SelectRange(std::int32_t start, std::int32_t end);
    // Replaces the whole text like WriteText but raises no TextChanged.
    void WriteTextWithoutEvent(const Text& text);
    // The selection's start in the low 16 bits and its end in the high 16 bits.
    std::uint32_t PackedSelectionBounds() const;
    // The displayed line (wrapped lines counted) that holds a byte offset; -1: the line of the
    // selection start.
    std::int32_t DisplayedLineOf(std::int32_t offset) const;
    // The byte offset where a displayed line starts (-1: the selection start's line); -1 past
    // the last line.
    std::int32_t DisplayedLineStart(std::int32_t line) const;

    // Long lines stop wrapping and a horizontal scroll bar appears, for the rest of the run.
    void ShowHorizontalScrollBar();

signals:
    void TextChanged();
    void LeftButtonReleased();

private:
    class Widget;
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace quorvel::ui
