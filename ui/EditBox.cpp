#include "ui/EditBox.h"

#include "ui/ByteCodec.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <vector>

namespace quorvel::ui {
namespace {

// The break that ends a line of the text. Qt keeps all three kinds as the same block separator.
enum class Break : std::uint8_t { None, CrLf, Lf, Cr };
constexpr std::size_t kBreakKinds = 4;

std::size_t BreakLength(Break kind) {
    switch (kind) {
    case Break::CrLf:
        return 2;
    case Break::Lf:
    case Break::Cr:
        return 1;
    case Break::None:
        break;
    }
    return 0;
}

std::string_view BreakBytes(Break kind) {
    switch (kind) {
    case Break::CrLf:
        return "\r\n";
    case Break::Lf:
        return "\n";
    case Break::Cr:
        return "\r";
    case Break::None:
        break;
    }
    return {};
}

// One block of the document in the program's terms: its text encoded in the code page and the
// break that follows it (None for the last block). Kept for every block, so that reading the
// text or a byte offset never encodes more than the blocks a change touched.
struct Line {
    Text bytes;
    Break end = Break::None;
    // Every byte below 0x80: code unit i of the block is byte i.
    bool ascii = true;
};

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

Line EncodeLine(QStringView text, Break end) {
    Line line{EncodeFromDisplay(text), end, false};
    line.ascii = line.bytes.size() == static_cast<std::size_t>(text.size()) && IsAscii(line.bytes);
    return line;
}

// Splits bytes the way QTextCursor::insertText splits their decoded text: CR LF, LF and a lone
// CR each end a block. Decoding never joins a CR or LF byte into another character.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        Break kind = c == '\n' ? Break::Lf : Break::Cr;
        std::size_t next = pos + 1;
        if (c == '\r' && next < text.size() && text[next] == '\n') {
            kind = Break::CrLf;
            ++next;
        }
        const std::string_view bytes = text.substr(start, pos - start);
        lines.push_back(Line{Text(bytes), kind, IsAscii(bytes)});
        start = pos = next;
    }
    const std::string_view bytes = text.substr(start);
    lines.push_back(Line{Text(bytes), Break::None, IsAscii(bytes)});
    return lines;
}

std::vector<Break> BreaksOf(std::string_view text) {
    std::vector<Break> breaks;
    for (Line& line : SplitLines(text)) {
        if (line.end != Break::None) {
            breaks.push_back(line.end);
        }
    }
    return breaks;
}

// The code point at unit i of text and how many units it takes.
std::pair<char32_t, qsizetype> CodePointAt(QStringView text, qsizetype i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        return {QChar::surrogateToUcs4(unit, text[i + 1].unicode()), 2};
    }
    return {unit, 1};
}

// Bytes before code unit pos of a block; a position inside a surrogate pair counts from the
// pair's start.
std::size_t BytesBefore(const Line& line, QStringView text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    if (line.ascii) {
        return static_cast<std::size_t>(pos);
    }
    std::size_t bytes = 0;
    for (qsizetype i = 0; i < pos;) {
        const auto [codePoint, units] = CodePointAt(text, i);
        if (i + units > pos) {
            break;
        }
        bytes += EncodedLength(codePoint);
        i += units;
    }
    return bytes;
}

// The code unit of a block where byte offset bytes falls; inside a character, its start.
qsizetype PositionOfBytes(const Line& line, QStringView text, std::size_t bytes) {
    if (line.ascii) {
        return static_cast<qsizetype>(std::min<std::size_t>(bytes, text.size()));
    }
    std::size_t sum = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const auto [codePoint, units] = CodePointAt(text, i);
        const std::size_t length = EncodedLength(codePoint);
        if (sum + length > bytes) {
            break;
        }
        sum += length;
        i += units;
    }
    return i;
}

// The keys that belong to the main window's accelerators: the edit box must let them through.
bool IsWindowAccelerator(const QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) {
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Z:
    case Qt::Key_Y:
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V:
    case Qt::Key_A:
        return true;
    default:
        return false;
    }
}

} // namespace

struct EditBox::State {
    class Scope;

    EditBox* owner = nullptr;
    QPointer<Widget> widget;
    std::vector<Line> lines = std::vector<Line>(1);
    std::array<std::size_t, kBreakKinds> breakCounts{};
    std::int32_t writtenStart = 0;
    std::int32_t writtenLength = 0;
    bool wrapping = true;

    // A whole-text write replaces the line table itself; the document's notice is not needed.
    int rebuilding = 0;
    // Inside one of the adapter's own edits (or a keystroke) every change is a text change and
    // the event waits for the end of the edit.
    int scopeDepth = 0;
    bool pendingEvent = false;
    // The breaks of bytes being inserted, in order, for the block separators Qt makes of them.
    std::vector<Break> insertedBreaks;
    std::size_t nextInsertedBreak = 0;

    QTextDocument* Document() const;
    void CountBreaks();
    void RebuildFromDocument();
    Break TypedBreak() const;
    Break NextNewBreak(Break typed);
    void OnContentsChange(int from, int removed, int added);
    void OnContentsChanged();
    void FlushEvent();

    std::size_t TotalBytes() const;
    std::size_t ByteOffsetOf(int position) const;
    int PositionOfByte(std::size_t offset) const;
    Text BytesBetween(std::size_t start, std::size_t end) const;
    void SelectBytes(std::size_t anchor, std::size_t position, bool scroll);
    void InsertBytes(QTextCursor& cursor, std::string_view bytes);
    void ReplaceAll(const Text& text);
    void ReplaceSelected(const Text& text, UndoFlag undo);
    void InsertClipboardText(const QString& text);
    int LinesOf(const QTextBlock& block) const;
};

// Holds back TextChanged until the outermost of the adapter's edits ends, then raises it once
// when anything changed.
class EditBox::State::Scope {
public:
    explicit Scope(State& state) : state_(state) { ++state_.scopeDepth; }
    ~Scope() {
        if (--state_.scopeDepth == 0) {
            state_.FlushEvent();
        }
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    State& state_;
};

class EditBox::Widget : public QPlainTextEdit {
public:
    Widget(State& state, QWidget* parent) : QPlainTextEdit(parent), state_(state) {
        setObjectName(QString::fromUtf8("主框"));
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        KeepSelectionVisible();
    }

protected:
    bool event(QEvent* event) override {
        // Ignoring the override lets the window's QAction shortcut take the key.
        if (event->type() == QEvent::ShortcutOverride &&
            IsWindowAccelerator(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QPlainTextEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        // The control's own undo is never reached through keys; the window's history is.
        if (IsWindowAccelerator(event) || event->matches(QKeySequence::Undo) ||
            event->matches(QKeySequence::Redo)) {
            event->ignore();
            return;
        }
        State::Scope scope(state_);
        QPlainTextEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        State::Scope scope(state_);
        QPlainTextEdit::inputMethodEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        QPlainTextEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton) {
            emit state_.owner->LeftButtonReleased();
        }
    }

    QMimeData* createMimeDataFromSelection() const override {
        auto* mime = new QMimeData;
        mime->setText(DecodeForDisplay(state_.owner->SelectedText()));
        return mime;
    }

    // Paste, middle-click and context-menu paste: the text keeps its own line breaks.
    void insertFromMimeData(const QMimeData* source) override {
        if (source == nullptr || !source->hasText()) {
            return;
        }
        state_.InsertClipboardText(source->text());
    }

    // A drop is done here as bytes, so a move inside the box keeps the moved breaks and bytes.
    void dropEvent(QDropEvent* event) override {
        QDragLeaveEvent leave; // clears the drop caret the drag painted
        QPlainTextEdit::dragLeaveEvent(&leave);
        const QMimeData* mime = event->mimeData();
        if (isReadOnly() || mime == nullptr || !mime->hasText()) {
            event->ignore();
            return;
        }
        QTextCursor drop = cursorForPosition(event->position().toPoint());
        QTextCursor selection = textCursor();
        const bool move = event->source() == this && event->dropAction() == Qt::MoveAction;
        if (move && drop.position() >= selection.selectionStart() &&
            drop.position() <= selection.selectionEnd()) {
            event->ignore();
            return;
        }
        const Text bytes = move ? state_.owner->SelectedText() : EncodeFromDisplay(mime->text());
        event->acceptProposedAction();
        State::Scope scope(state_);
        if (move) {
            selection.removeSelectedText(); // drop moves with the removed text
        }
        state_.InsertBytes(drop, bytes);
        setTextCursor(drop);
        ensureCursorVisible();
    }

    void changeEvent(QEvent* event) override {
        QPlainTextEdit::changeEvent(event);
        if (event->type() == QEvent::PaletteChange) {
            KeepSelectionVisible();
        }
    }

private:
    // The selection is drawn in the inactive colours while the box has no focus: make them the
    // active ones so that it stays visible.
    void KeepSelectionVisible() {
        QPalette colours = palette();
        const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
        const QColor highlightedText = colours.color(QPalette::Active, QPalette::HighlightedText);
        if (colours.color(QPalette::Inactive, QPalette::Highlight) == highlight &&
            colours.color(QPalette::Inactive, QPalette::HighlightedText) == highlightedText) {
            return;
        }
        colours.setColor(QPalette::Inactive, QPalette::Highlight, highlight);
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText, highlightedText);
        setPalette(colours);
    }

    State& state_;
};

QTextDocument* EditBox::State::Document() const {
    return widget->document();
}

void EditBox::State::CountBreaks() {
    breakCounts.fill(0);
    for (const Line& line : lines) {
        ++breakCounts[static_cast<std::size_t>(line.end)];
    }
}

// Only when the table and the document disagree, which the change notices should never let
// happen: the text is kept, unknown breaks become the typed break.
void EditBox::State::RebuildFromDocument() {
    lines.clear();
    QTextDocument* document = Document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        lines.push_back(EncodeLine(block.text(), last ? Break::None : Break::CrLf));
    }
    CountBreaks();
}

// CR LF, or LF when every break in the text is LF.
Break EditBox::State::TypedBreak() const {
    const bool onlyLf = breakCounts[static_cast<std::size_t>(Break::Lf)] > 0 &&
                        breakCounts[static_cast<std::size_t>(Break::CrLf)] == 0 &&
                        breakCounts[static_cast<std::size_t>(Break::Cr)] == 0;
    return onlyLf ? Break::Lf : Break::CrLf;
}

Break EditBox::State::NextNewBreak(Break typed) {
    if (nextInsertedBreak < insertedBreaks.size()) {
        return insertedBreaks[nextInsertedBreak++];
    }
    return typed;
}

// The document changed in [from, from + removed) of the old text, now [from, from + added).
// Old blocks k..k+r became new blocks k..k+a: the separators inside the range are new (typed,
// or those of the inserted bytes), the break after the range is the one that was there.
void EditBox::State::OnContentsChange(int from, int removed, int added) {
    if (rebuilding > 0) {
        return;
    }
    QTextDocument* document = Document();
    const int last = std::max(0, document->characterCount() - 1);
    const QTextBlock first = document->findBlock(std::clamp(from, 0, last));
    const int k = first.blockNumber();
    const int a = document->findBlock(std::clamp(from + added, 0, last)).blockNumber() - k;
    const int oldCount = static_cast<int>(lines.size());
    const int r = oldCount - document->blockCount() + a;
    if (k < 0 || a < 0 || r < 0 || k + r >= oldCount) {
        RebuildFromDocument();
        pendingEvent = true;
        return;
    }

    std::vector<Line> fresh;
    fresh.reserve(static_cast<std::size_t>(a) + 1);
    QTextBlock block = first;
    for (int i = 0; i <= a; ++i, block = block.next()) {
        fresh.push_back(EncodeLine(block.text(), Break::None));
    }
    // Outside the adapter's own edits, a change that leaves every byte as it was is a format
    // change (Qt reports those the same way): no event.
    if (scopeDepth == 0 && removed == added && a == r) {
        bool same = true;
        for (int i = 0; i <= a && same; ++i) {
            same = fresh[static_cast<std::size_t>(i)].bytes ==
                   lines[static_cast<std::size_t>(k) + static_cast<std::size_t>(i)].bytes;
        }
        if (same) {
            return;
        }
    }

    const auto begin = lines.begin() + k;
    for (int i = 0; i < r; ++i) {
        --breakCounts[static_cast<std::size_t>(
            lines[static_cast<std::size_t>(k) + static_cast<std::size_t>(i)].end)];
    }
    const Break tail = lines[static_cast<std::size_t>(k) + static_cast<std::size_t>(r)].end;
    const Break typed = TypedBreak();
    for (int i = 0; i <= a; ++i) {
        Line& line = fresh[static_cast<std::size_t>(i)];
        line.end = i < a ? NextNewBreak(typed) : tail;
        if (i < a) {
            ++breakCounts[static_cast<std::size_t>(line.end)];
        }
    }
    if (r == a) {
        std::move(fresh.begin(), fresh.end(), begin);
    } else {
        lines.erase(begin, begin + r + 1);
        lines.insert(lines.begin() + k, std::make_move_iterator(fresh.begin()),
                     std::make_move_iterator(fresh.end()));
    }
    pendingEvent = true;
}

// Qt's notice that an edit finished; outside the adapter's own edits this is where the event
// of a change made by Qt (context menu, drag away) is raised.
void EditBox::State::OnContentsChanged() {
    if (scopeDepth == 0) {
        FlushEvent();
    }
}

void EditBox::State::FlushEvent() {
    if (!pendingEvent) {
        return;
    }
    pendingEvent = false;
    emit owner->TextChanged();
}

std::size_t EditBox::State::TotalBytes() const {
    std::size_t total = 0;
    for (const Line& line : lines) {
        total += line.bytes.size() + BreakLength(line.end);
    }
    return total;
}

std::size_t EditBox::State::ByteOffsetOf(int position) const {
    QTextDocument* document = Document();
    QTextBlock block = document->findBlock(position);
    if (!block.isValid()) {
        block = document->lastBlock();
    }
    const auto k = static_cast<std::size_t>(block.blockNumber());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < k; ++i) {
        offset += lines[i].bytes.size() + BreakLength(lines[i].end);
    }
    return offset + BytesBefore(lines[k], block.text(), position - block.position());
}

// A byte offset inside a character or a CR LF maps to its start; past the end, to the end.
int EditBox::State::PositionOfByte(std::size_t offset) const {
    QTextDocument* document = Document();
    QTextBlock block = document->begin();
    for (const Line& line : lines) {
        if (offset <= line.bytes.size() || !block.next().isValid()) {
            return block.position() + static_cast<int>(PositionOfBytes(line, block.text(), offset));
        }
        offset -= line.bytes.size();
        if (offset < BreakLength(line.end)) {
            return block.position() + block.length() - 1;
        }
        offset -= BreakLength(line.end);
        block = block.next();
    }
    return document->characterCount() - 1;
}

Text EditBox::State::BytesBetween(std::size_t start, std::size_t end) const {
    Text out;
    std::size_t lineStart = 0;
    for (const Line& line : lines) {
        if (lineStart >= end) {
            break;
        }
        const std::string_view breakBytes = BreakBytes(line.end);
        const std::size_t lineEnd = lineStart + line.bytes.size() + breakBytes.size();
        if (lineEnd > start) {
            const std::size_t from = std::max(start, lineStart) - lineStart;
            const std::size_t to = std::min(end, lineEnd) - lineStart;
            const std::string_view bytes = line.bytes;
            if (from < bytes.size()) {
                out.append(bytes.substr(from, std::min(to, bytes.size()) - from));
            }
            if (to > bytes.size()) {
                const std::size_t breakFrom = std::max(from, bytes.size()) - bytes.size();
                out.append(breakBytes.substr(breakFrom, to - bytes.size() - breakFrom));
            }
        }
        lineStart = lineEnd;
    }
    return out;
}

void EditBox::State::SelectBytes(std::size_t anchor, std::size_t position, bool scroll) {
    QTextCursor cursor(Document());
    cursor.setPosition(PositionOfByte(anchor));
    cursor.setPosition(PositionOfByte(position), QTextCursor::KeepAnchor);
    widget->setTextCursor(cursor);
    if (scroll) {
        widget->ensureCursorVisible();
    }
}

// Replaces the cursor's selection with bytes; the cursor ends after them. The block separators
// Qt makes of the decoded text get the breaks the bytes had.
void EditBox::State::InsertBytes(QTextCursor& cursor, std::string_view bytes) {
    insertedBreaks = BreaksOf(bytes);
    nextInsertedBreak = 0;
    cursor.insertText(DecodeForDisplay(bytes));
    insertedBreaks.clear();
    nextInsertedBreak = 0;
}

// The whole text at once, caret at 0, no event, outside the control's undo buffer.
void EditBox::State::ReplaceAll(const Text& text) {
    QTextDocument* document = Document();
    {
        const QSignalBlocker blocker(widget.data());
        ++rebuilding;
        document->setUndoRedoEnabled(false);
        QTextCursor cursor(document);
        cursor.select(QTextCursor::Document);
        cursor.insertText(DecodeForDisplay(text));
        document->setUndoRedoEnabled(true);
        --rebuilding;
        lines = SplitLines(text);
        if (static_cast<int>(lines.size()) != document->blockCount()) {
            RebuildFromDocument();
        }
        CountBreaks();
    }
    widget->setTextCursor(QTextCursor(document));
    widget->ensureCursorVisible();
}

void EditBox::State::ReplaceSelected(const Text& text, UndoFlag undo) {
    Scope scope(*this);
    QTextDocument* document = Document();
    QTextCursor cursor = widget->textCursor();
    if (undo == UndoFlag::NotUndoable) {
        document->setUndoRedoEnabled(false);
    }
    InsertBytes(cursor, text);
    if (undo == UndoFlag::NotUndoable) {
        document->setUndoRedoEnabled(true);
    }
    widget->setTextCursor(cursor);
    widget->ensureCursorVisible();
}

void EditBox::State::InsertClipboardText(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    Scope scope(*this);
    QTextCursor cursor = widget->textCursor();
    InsertBytes(cursor, EncodeFromDisplay(text));
    widget->setTextCursor(cursor);
    widget->ensureCursorVisible();
}

// Displayed lines of a block: its layout's lines while wrapping (laid out now if Qt has not
// yet), else one per line separator inside it plus one.
int EditBox::State::LinesOf(const QTextBlock& block) const {
    if (!wrapping && !block.text().contains(QChar::LineSeparator)) {
        return 1;
    }
    Document()->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    return layout != nullptr ? std::max(1, layout->lineCount()) : 1;
}

EditBox::EditBox(QWidget* parent) : QObject(parent), state_(std::make_unique<State>()) {
    state_->owner = this;
    state_->widget = new Widget(*state_, parent);
    QTextDocument* document = state_->widget->document();
    state_->RebuildFromDocument();
    connect(document, &QTextDocument::contentsChange, this,
            [this](int from, int removed, int added) {
                state_->OnContentsChange(from, removed, added);
            });
    connect(document, &QTextDocument::contentsChanged, this,
            [this] { state_->OnContentsChanged(); });
}

EditBox::~EditBox() {
    if (state_->widget != nullptr) {
        state_->widget->document()->disconnect(this);
        delete state_->widget.data();
    }
}

QPlainTextEdit* EditBox::widget() const {
    return state_->widget.data();
}

Text EditBox::ReadText() const {
    Text out;
    out.reserve(state_->TotalBytes());
    for (const Line& line : state_->lines) {
        out.append(line.bytes);
        out.append(BreakBytes(line.end));
    }
    return out;
}

void EditBox::WriteText(const Text& text) {
    state_->ReplaceAll(text);
    state_->pendingEvent = false;
    emit TextChanged();
}

std::int32_t EditBox::SelectionStart() const {
    return static_cast<std::int32_t>(
        state_->ByteOffsetOf(state_->widget->textCursor().selectionStart()));
}

void EditBox::SetSelectionStart(std::int32_t start) {
    const std::size_t total = state_->TotalBytes();
    const std::size_t from =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(0, start)), total);
    state_->writtenStart = static_cast<std::int32_t>(from);
    const std::size_t to = std::min(total, from + static_cast<std::size_t>(state_->writtenLength));
    state_->SelectBytes(from, to, true);
}

void EditBox::SetSelectionLength(std::int32_t length) {
    state_->writtenLength = std::max(0, length);
    const std::size_t total = state_->TotalBytes();
    const std::size_t from =
        std::min<std::size_t>(static_cast<std::size_t>(state_->writtenStart), total);
    const std::size_t to = std::min(total, from + static_cast<std::size_t>(state_->writtenLength));
    state_->SelectBytes(from, to, true);
}

Text EditBox::SelectedText() const {
    const QTextCursor cursor = state_->widget->textCursor();
    if (!cursor.hasSelection()) {
        return {};
    }
    return state_->BytesBetween(state_->ByteOffsetOf(cursor.selectionStart()),
                                state_->ByteOffsetOf(cursor.selectionEnd()));
}

bool EditBox::HasInputFocus() const {
    return state_->widget->hasFocus();
}

void EditBox::CopySelectionToClipboard() {
    const Text selected = SelectedText();
    if (selected.empty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(DecodeForDisplay(selected));
}

void EditBox::PasteFromClipboard() {
    state_->InsertClipboardText(QGuiApplication::clipboard()->text());
}

void EditBox::ReplaceSelection(const Text& text, UndoFlag undo) {
    state_->ReplaceSelected(text, undo);
}

// A start of -1 removes the selection and keeps the caret; an end of -1 is the end of the text.
void EditBox::SelectRange(std::int32_t start, std::int32_t end) {
    if (start < 0) {
        QTextCursor cursor = state_->widget->textCursor();
        cursor.clearSelection();
        state_->widget->setTextCursor(cursor);
        return;
    }
    const std::size_t total = state_->TotalBytes();
    const std::size_t to =
        end < 0 ? total : std::min<std::size_t>(static_cast<std::size_t>(end), total);
    state_->SelectBytes(std::min<std::size_t>(static_cast<std::size_t>(start), total), to, false);
}

void EditBox::WriteTextWithoutEvent(const Text& text) {
    state_->ReplaceAll(text);
    state_->pendingEvent = false;
}

std::uint32_t EditBox::PackedSelectionBounds() const {
    const QTextCursor cursor = state_->widget->textCursor();
    const auto start = static_cast<std::uint32_t>(state_->ByteOffsetOf(cursor.selectionStart()));
    const auto end = static_cast<std::uint32_t>(state_->ByteOffsetOf(cursor.selectionEnd()));
    return (start & 0xFFFFu) | ((end & 0xFFFFu) << 16);
}

// An offset of -1 asks for the line of the selection start.
std::int32_t EditBox::DisplayedLineOf(std::int32_t offset) const {
    QTextDocument* document = state_->Document();
    const int position = offset < 0 ? state_->widget->textCursor().selectionStart()
                                    : state_->PositionOfByte(static_cast<std::size_t>(offset));
    const QTextBlock target = document->findBlock(position);
    std::int32_t line = 0;
    for (QTextBlock block = document->begin(); block.isValid() && block != target;
         block = block.next()) {
        line += state_->LinesOf(block);
    }
    if (!target.isValid() || state_->LinesOf(target) == 1) {
        return line;
    }
    const QTextLine textLine = target.layout()->lineForTextPosition(position - target.position());
    return line + (textLine.isValid() ? textLine.lineNumber() : 0);
}

// A line of -1 is the line of the selection start; a line past the last gives -1.
std::int32_t EditBox::DisplayedLineStart(std::int32_t line) const {
    if (line < 0) {
        line = DisplayedLineOf(-1);
    }
    QTextDocument* document = state_->Document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const int count = state_->LinesOf(block);
        if (line < count) {
            const int start = count == 1 ? 0 : block.layout()->lineAt(line).textStart();
            return static_cast<std::int32_t>(state_->ByteOffsetOf(block.position() + start));
        }
        line -= count;
    }
    return -1;
}

void EditBox::ShowHorizontalScrollBar() {
    state_->wrapping = false;
    state_->widget->setLineWrapMode(QPlainTextEdit::NoWrap);
    state_->widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

} // namespace quorvel::ui
