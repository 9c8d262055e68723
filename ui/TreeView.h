#pragma once

#include "text/CodePage.h"

#include <QObject>
#include <QPoint>
#include <span>

class QTreeWidget;
class QWidget;

// The tree as the program sees it: nodes addressed by their 0-based preorder index (each
// node, then its children, top-level nodes in order, expanded or not); parent -1 at the top;
// levels 1 and 2; an integer item value and an image number (2 for a document, 12 for a label)
// per node; at most one selected node, -1 for none.
//
// SelectionChanged fires synchronously inside every change of the selection: the user's, the
// program's (Select) and those a deletion causes.
namespace quorvel::ui {

inline constexpr int kNoNode = -1;
inline constexpr int kDocumentImage = 2;
inline constexpr int kLabelImage = 12;

// Owns its Qt widget and nodes (until the parent window deletes the widget first). Owned by the
// main window, or a test; the workspace only uses it and decides what a node means.
class TreeView : public QObject {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);
    ~TreeView() override;

    // For placing the tree, its font and colours; nodes are added and removed only through this
    // class, which keeps its own list of the top-level nodes.
    QTreeWidget* widget() const;

    // Appends a node as the last child of parent (kNoNode: the last top-level node); its index.
    // A parent that is not a top-level node adds nothing and gives kNoNode.
    int AddNode(int parent, const Text& text, int image, int itemValue);
    // Appends a node per text, in order, the same way, all with the same image and item value;
    // the index of the first, the others following it. The tree takes them in one insertion,
    // which is what makes a document's many labels quick to add. Nothing is added, and kNoNode
    // given, for no texts or a parent that is not a top-level node.
    int AddNodes(int parent, std::span<const Text> texts, int image, int itemValue);
    // Deletes the node with its children; later indexes drop by the number removed. When the
    // selection goes with them, a neighbour is selected (the next node at the deleted node's
    // level, else the previous one, else its parent) and SelectionChanged fires once.
    void DeleteNode(int index);
    void Clear();

    // An index outside the tree reads as parent kNoNode, level 0, no children, text "", item
    // value 0 and image 0, and is ignored by the writes.

    int Count() const;
    int Parent(int index) const;
    int Level(int index) const;
    int ChildCount(int index) const;
    Text NodeText(int index) const;
    void SetNodeText(int index, const Text& text);
    int ItemValue(int index) const;
    int Image(int index) const;
    void Expand(int index);

    int Selection() const;
    void Select(int index); // kNoNode clears the selection; an index outside the tree is ignored
    // The node that was selected before the last change of the selection; kNoNode when there was
    // none or it is gone. A selection that must be taken back goes there.
    int PreviousSelection() const;

signals:
    void SelectionChanged();
    // A left-button press on the node that was already selected: no selection change follows.
    void SelectedNodePressed();
    void RightButtonPressed();
    // Released over the tree, at this global position.
    void RightButtonReleased(QPoint globalPosition);

private:
    class Widget;
    Widget* widget_ = nullptr;
};

} // namespace quorvel::ui
