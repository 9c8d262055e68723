#pragma once

#include "store/Settings.h"
#include "text/CodePage.h"
#include "workspace/CurrentState.h"
#include "workspace/NodeKind.h"

#include <QObject>
#include <QPoint>
#include <vector>

namespace quorvel::ui {
class Dialogs;
class EditBox;
class StatusBar;
class TreeView;
} // namespace quorvel::ui

// The program's picture of the open documents and the label being edited: the DocumentList,
// the two-level tree (a document node per document, a label node per label under it), the
// CurrentState (document, label, edited flag, auto-save switch), the SelectionGuard and the
// auto-save rule. All file work goes through the store.
//
// The selected node is always the loaded node: every selection change the user makes, a right
// click included, runs HandleTreeSelection (auto-save first, then load). The SelectionGuard only
// covers the program's own selection changes (SelectGuarded), so a label command started from the
// pop-up always acts on the document and label that are current.
namespace quorvel::workspace {

enum class DocumentKind { New, Opened };

// What came of an attempt to save the edit box's text.
enum class SaveResult {
    NotNeeded, // nothing was edited, auto-save is off, or there was nothing to save
    Saved,
    Failed,    // the file could not be written; the user was told, and the text is still there
    Cancelled, // the user cancelled the prompt for a label
};

// What came of leaving the text on screen before something else replaces it.
enum class LeaveOutcome {
    Left,       // saved, nothing to save, or the user chose to drop it: the box may be replaced
    Cancelled,  // the user wants to stay with the text
    SaveFailed, // the text could not be saved; it stays, and the edit stays pending
};

// Whether the window may close.
enum class CloseOutcome { Close, KeepOpen };

// The parts a workspace works with, lent by their owner (the main window, or a test) for the
// workspace's whole life; the workspace owns none of them.
struct WorkspaceParts {
    store::Settings& settings;
    ui::TreeView& tree;
    ui::EditBox& editBox;
    ui::StatusBar& statusBar; // shows the current label in pane 0; never read back
    ui::Dialogs& dialogs;     // the questions and reports about saving what the box holds
};

// Owns: the DocumentList, the CurrentState and the SelectionGuard. Uses, without owning: the
// settings file, the tree, the edit box and the status bar (WorkspaceParts).
class Workspace : public QObject {
    Q_OBJECT
public:
    // Connects the tree's selection changes and right-button releases to this workspace.
    Workspace(WorkspaceParts parts, Text windowTitle);

    const Text& WindowTitle() const { return windowTitle_; }
    const CurrentState& Current() const { return current_; }
    const Text& CurrentDocument() const { return current_.document; }
    // Start-up sets the document from the command line or the settings; nothing is written.
    void SetCurrentDocument(const Text& path) { current_.document = path; }
    const Text& CurrentLabel() const { return current_.label; }
    // Status pane 0 follows: it shows the label, and nothing reads it back.
    void SetCurrentLabel(const Text& label);
    const std::vector<Text>& DocumentList() const { return documents_; }

    // The edit recorder's report of an edit made with the edit box focused: the edited flag is
    // set, for the next AutoSave.
    void MarkEdited() { current_.edited = true; }

    bool IsAutoSaveOn() const { return current_.autoSaveOn; }
    // Start-up checks the switch from the settings; nothing is written.
    void SetAutoSaveSwitch(bool on);

    // Start-up: the tree and the DocumentList from the registry, and the saved label of the
    // CurrentDocument restored (with the start-up backup) when it is registered, exists and a
    // label was recorded.
    void BuildTree();
    // Appends a document node (with its labels for an opened document), makes the document
    // current and registers it; the node is selected without loading, and no label is current.
    void AddDocument(const Text& path, DocumentKind kind);
    // Deletes a document node with its labels; the DocumentList and the registry stay as they are.
    void RemoveDocumentNode(int documentNode);
    // Loads the selected node after leaving the text on screen (LeaveShownText). When the text
    // has to stay, the selection goes back to the node it came from and nothing is loaded.
    void HandleTreeSelection();
    // Runs before anything replaces the edit box's text (a selection change, 打开, 新建文档,
    // 新建标签, 显示整个文件, closing): an edited current label is auto-saved; text typed while
    // no label was current is offered a label of its own (Yes), dropped (No) or kept (Cancel).
    LeaveOutcome LeaveShownText();
    // Saves the edit box into the current label's section when it was edited and the switch is
    // on. A failed write is reported, and the edit stays pending.
    SaveResult AutoSave();
    // The label-save prompt: asks a name and saves the edit box under it in document, which must
    // not hold that label yet. The label becomes current and its node appears.
    SaveResult SaveUnderNewLabel(const Text& document);
    // "保存失败：" with the path and the system's reason.
    void ReportSaveFailure(const Text& path);
    void ToggleAutoSave();
    // Leaves the text on screen for good and records the current label. Keeps the window open
    // when the user cancels, or when a save failed and the user does not want to close anyway.
    CloseOutcome SaveOnClose();
    // The label's section into the edit box when found; the label becomes current in any case.
    void ShowLabel(const Text& path, const Text& label);
    // Replaces the edit box's text with one the program shows (a section, a whole file, an empty
    // box): nothing in it is an edit of the user's.
    void ShowText(const Text& text);

    // A selection change made by the program, with the guard held around it.
    void SelectGuarded(int index);
    // A node's kind, from its place in the tree: a top-level node is a document node; an index
    // that names no node reads as a label node.
    NodeKind KindOf(int index) const;
    bool IsDocumentNode(int index) const { return KindOf(index) == NodeKind::Document; }
    // The index of a node's document node: itself at the top, else its parent.
    int DocumentNodeIndexOf(int index) const;
    // The path of the document a node belongs to ("" for an index that names no node).
    const Text& DocumentPathOf(int index) const;

    // The parts the document and label commands work with.
    store::Settings& Settings() const { return parts_.settings; }
    ui::TreeView& Tree() const { return parts_.tree; }
    ui::EditBox& EditBox() const { return parts_.editBox; }

    // Shows a caption of the commands' own ("Quorvel--" and a path after a new document).
    void SetCaption(const Text& caption) { emit CaptionChanged(caption); }
    // The WindowTitle and the path.
    void SetCaptionToDocument(const Text& path);
    // The document node of a path; kNoNode when it has none.
    int DocumentNodeOfPath(const Text& path) const;
    // A label that reached a document's file without the tree: its node appears under the
    // document's node (when it has one), which is expanded.
    void AddLabelNode(const Text& document, const Text& label);
    // Document number k (from 1) now lives at newPath: the DocumentList entry follows, and so
    // do the CurrentDocument and [配置] 当前文件 when it was the current one. The caption shows
    // the new path.
    void MoveDocument(int number, const Text& newPath);

    // What a deletion does with an edit of the current label that was not saved yet.
    enum class PendingEdit {
        Save, // the current label survives the deletion: its edit is saved first
        Drop, // the current label goes with the deletion: no label is current afterwards
    };
    // Deletes a node with its children so that nothing is written back by the deletion: the
    // pending edit is saved or dropped first, the tree's own change of selection is not loaded
    // while the nodes go, and the node the tree selects afterwards, if any, is then loaded.
    void DeleteNodeWithoutWriteBack(int index, PendingEdit pending);

signals:
    void CaptionChanged(const Text& caption);
    void AutoSaveSwitchChanged(bool on);
    // A right-button release over the tree with a node selected: the label menu pops up here.
    void PopupRequested(QPoint globalPosition);

private:
    void OnRightButtonReleased(QPoint globalPosition);
    // A press on the node already selected loads it when what is on screen is not its text (the
    // whole file, shown from a label node that stays highlighted).
    void OnSelectedNodePressed();
    // Loads a node once the text on screen was left.
    void LoadNode(int index);
    bool HoldsUnlabelledEdit() const;
    void MakeDocumentCurrent(const Text& path);
    // Deletes a document node's label nodes, without loading anything.
    void RemoveLabelNodes(int documentNode);
    // Appends a label node per label under documentNode; their indexes, in the same order.
    std::vector<int> AddLabelNodes(int documentNode, int number, const std::vector<Text>& labels);
    // The saved label of the document just added at documentNode, shown and backed up.
    void RestoreCurrentLabel(int documentNode, const std::vector<Text>& labels,
                             const std::vector<int>& labelNodes);

    WorkspaceParts parts_;
    Text windowTitle_;
    std::vector<Text> documents_;
    CurrentState current_;
    bool selectionGuard_ = false;
};

} // namespace quorvel::workspace
