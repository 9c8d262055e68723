#pragma once

#include "text/CodePage.h"

#include <QObject>
#include <cstdint>
#include <memory>

class QPlainTextEdit;
class QWidget;

// The edit box 主框 in the program's own terms: text and selection as bytes and byte offsets in
// the active code page, line breaks included (a CR LF counts two bytes), whatever Qt keeps inside.
//
// Events: TextChanged fires exactly once per write of the whole text (even an unchanged one) and
// once per change made inside the control (typing, paste, Delete, a replace-selection); never for
// SetTextDirect, a format change or a keystroke that changes nothing. It fires synchronously,
// inside the write, with the new text and caret already readable.
//
// Keys: Ctrl+Z, Ctrl+Y, Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+A are left to the window's shortcuts;
// the control's own undo and redo keys do nothing.
namespace quorvel::ui {

enum class UndoFlag { NotUndoable = 0, Undoable = 1 };

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

    // The selected bytes; writing replaces the selection (caret after the inserted text), outside
    // the control's own undo buffer, and raises TextChanged when the text changed.
    Text SelectedText() const;
    void SetSelectedText(const Text& text);

    bool HasInputFocus() const;

    // The edit-control messages.
    void Copy();                                             // 769
    void Paste();                                            // 770
    void ReplaceSelection(const Text& text, UndoFlag undo);  // 194
    void SetSelection(std::int32_t start, std::int32_t end); // 177; end -1: the end; start -1:
                                                             // nothing selected, caret kept
    void SetTextDirect(const Text& text);                    // 12; raises no TextChanged
    std::uint32_t PackedSelection() const;                   // 176; start low 16 bits, end high
    std::int32_t LineFromChar(std::int32_t offset) const;    // 201; displayed lines; -1: the
                                                             // line of the selection start
    std::int32_t LineIndex(std::int32_t line) const;         // 187; offset of a displayed line;
                                                             // -1 past the last line

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
