#pragma once

#include "store/Settings.h"
#include "text/CodePage.h"

#include <QObject>
#include <QPoint>
#include <vector>

namespace quorvel::ui {
class EditBox;
class StatusBar;
class TreeView;
} // namespace quorvel::ui
namespace quorvel::editor {
struct DirtyFlag;
}

// The program's picture of the open documents and the label being edited: the DocumentList,
// the two-level tree (a document node per document, a label node per label under it), the
// CurrentDocument, the CurrentLabel (status pane 0 is that state), the SelectionGuard and the
// auto-save rule. All file work goes through the store.
//
// Owns: the DocumentList, the CurrentDocument, the guard and the auto-save switch. Uses, without
// owning: the settings file, the tree, the edit box, the status bar and the DirtyFlag.
namespace quorvel::workspace {

enum class DocumentKind { New, Opened };

struct WorkspaceParts {
    store::Settings& settings;
    ui::TreeView& tree;
    ui::EditBox& editBox;
    ui::StatusBar& statusBar;
    editor::DirtyFlag& dirty;
};

// The last component of a path without its last extension.
Text DocumentBaseName(const Text& path);

class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(WorkspaceParts parts, Text windowTitle);

    const Text& WindowTitle() const { return windowTitle_; }
    const Text& CurrentDocument() const { return currentDocument_; }
    // Start-up sets the document from the command line or the settings; nothing is written.
    void SetCurrentDocument(const Text& path) { currentDocument_ = path; }
    Text CurrentLabel() const;
    void SetCurrentLabel(const Text& label);
    const std::vector<Text>& DocumentList() const { return documents_; }

    bool IsAutoSaveOn() const { return autoSaveOn_; }
    // Start-up checks the switch from the settings; nothing is written.
    void SetAutoSaveSwitch(bool on);

    void BuildTree();
    void AddDocument(const Text& path, DocumentKind kind);
    void RemoveDocumentNode(int documentNode);
    void HandleTreeSelection();
    void AutoSave();
    void ToggleAutoSave();
    void SaveOnClose();
    void ShowLabel(const Text& path, const Text& label);

    // A selection change made by the program, with the guard held around it.
    void SelectGuarded(int index);
    // The document node of a node: itself at the top, else its parent.
    int DocumentNodeOf(int index) const;
    // The path of the document a node belongs to.
    const Text& DocumentOfNode(int index) const;

signals:
    void CaptionChanged(const Text& caption);
    void AutoSaveSwitchChanged(bool on);
    void PopupRequested(QPoint globalPosition);

private:
    void OnRightButtonReleased(QPoint globalPosition);
    void SetCaptionToDocument(const Text& path);
    void MakeDocumentCurrent(const Text& path);

    WorkspaceParts parts_;
    Text windowTitle_;
    std::vector<Text> documents_;
    Text currentDocument_;
    bool selectionGuard_ = false;
    bool autoSaveOn_ = false;
};

} // namespace quorvel::workspace
