#pragma once

#include "store/Settings.h"
#include "text/CodePage.h"
#include "workspace/CurrentState.h"
#include "workspace/NodeKind.h"

#include <QObject>
#include <QPoint>
#include <vector>

namespace quorvel::ui {
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

// The parts a workspace works with, lent by their owner (the main window, or a test) for the
// workspace's whole life; the workspace owns none of them.
struct WorkspaceParts {
    store::Settings& settings;
    ui::TreeView& tree;
    ui::EditBox& editBox;
    ui::StatusBar& statusBar; // shows the current label in pane 0; never read back
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
    // Loads the selected node after auto-saving the label being left.
    void HandleTreeSelection();
    // Saves the edit box into the current label's section when it was edited and the switch is on.
    void AutoSave();
    void ToggleAutoSave();
    void SaveOnClose();
    // The label's section into the edit box when found; the label becomes current in any case.
    void ShowLabel(const Text& path, const Text& label);

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
    void SetCaptionToDocument(const Text& path);
    void MakeDocumentCurrent(const Text& path);
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
