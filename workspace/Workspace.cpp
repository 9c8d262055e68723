#include "workspace/Workspace.h"

#include "store/Backup.h"
#include "store/Document.h"
#include "store/Path.h"
#include "text/TextOps.h"
#include "ui/TreeView.h"

#include <QTreeWidget>
#include <algorithm>
#include <cstddef>
#include <optional>

namespace quorvel::workspace {
namespace {

// Holds the tree's painting off while many nodes go in, so a visible tree repaints once at the
// end instead of after every node.
class PaintPause {
public:
    explicit PaintPause(QWidget* widget) : widget_(widget) {
        if (widget_ != nullptr && widget_->updatesEnabled()) {
            widget_->setUpdatesEnabled(false);
            paused_ = true;
        }
    }
    PaintPause(const PaintPause&) = delete;
    PaintPause& operator=(const PaintPause&) = delete;
    ~PaintPause() {
        if (paused_) {
            widget_->setUpdatesEnabled(true);
        }
    }

private:
    QWidget* widget_ = nullptr;
    bool paused_ = false;
};

// A registered document's labels; nothing for a missing file. The temporary files of writes that
// were killed are cleared from beside it first.
std::optional<std::vector<Text>> ListRegistered(const Text& path) {
    if (!store::FileExists(path)) {
        return std::nullopt;
    }
    store::RemoveStaleTemporaries(path);
    return store::ListLabels(path);
}

// The end of the run of registry entries from begin: past the next entry of the current
// document, or the end of the registry.
std::size_t RunEnd(const std::vector<Text>& registry, std::size_t begin, const Text& current) {
    const auto next =
        std::find(registry.begin() + static_cast<std::ptrdiff_t>(begin), registry.end(), current);
    return next == registry.end() ? registry.size()
                                  : static_cast<std::size_t>(next - registry.begin()) + 1;
}

} // namespace

void Workspace::BuildTree() {
    PaintPause pause(parts_.tree.widget());
    documents_.clear();
    // Only the start-up build meets an empty tree; a second build must not keep nodes whose item
    // values name entries of the old list.
    selectionGuard_ = true;
    parts_.tree.Clear();
    selectionGuard_ = false;

    // The labels are listed a run of documents ahead of their nodes. Each listing reads through
    // a buffer that the next one gets back, unless node allocations in between have taken its
    // place; then every file is read into fresh memory, whose first touch costs more than the
    // reading. A run ends at each entry of the current document, whose restore writes the
    // start-up backup, so every file is still listed at the same point relative to that write.
    const std::vector<Text> registry = store::EnumerateRegistry(parts_.settings);
    std::vector<std::optional<std::vector<Text>>> listings;
    int number = 0;
    for (std::size_t begin = 0; begin < registry.size();) {
        const std::size_t end = RunEnd(registry, begin, current_.document);
        listings.clear();
        for (std::size_t i = begin; i < end; ++i) {
            listings.push_back(ListRegistered(registry[i]));
        }
        for (std::size_t i = begin; i < end; ++i) {
            const Text& path = registry[i];
            ++number;
            const int documentNode = parts_.tree.AddNode(ui::kNoNode, store::DocumentBaseName(path),
                                                         ImageOf(NodeKind::Document), number);
            documents_.push_back(path);
            const std::optional<std::vector<Text>>& labels = listings[i - begin];
            if (!labels) {
                continue; // a missing file shows as a node without labels and is never restored
            }
            const std::vector<int> labelNodes = AddLabelNodes(documentNode, number, *labels);
            if (path == current_.document) {
                RestoreCurrentLabel(documentNode, *labels, labelNodes);
            }
        }
        begin = end;
    }
}

void Workspace::RestoreCurrentLabel(int documentNode, const std::vector<Text>& labels,
                                    const std::vector<int>& labelNodes) {
    parts_.tree.Expand(documentNode);
    const Text saved = parts_.settings.ReadSetting(store::kCurrentLabelSetting);
    if (saved.empty()) {
        return;
    }
    // The first label node of this document with the saved text, never the document node of the
    // same name.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == saved) {
            SelectGuarded(labelNodes[i]);
            break;
        }
    }
    ShowLabel(current_.document, saved);
    store::StartupBackup(current_.document);
    SetCaptionToDocument(current_.document);
}

std::vector<int> Workspace::AddLabelNodes(int documentNode, int number,
                                          const std::vector<Text>& labels) {
    // One batch per document: the tree takes its labels in a single insertion.
    const int first = parts_.tree.AddNodes(documentNode, labels, ImageOf(NodeKind::Label), number);
    std::vector<int> nodes(labels.size(), ui::kNoNode);
    for (std::size_t i = 0; i < nodes.size() && first != ui::kNoNode; ++i) {
        nodes[i] = first + static_cast<int>(i);
    }
    return nodes;
}

void Workspace::AddDocument(const Text& path, DocumentKind kind) {
    // A new document over a file that has a node empties that node instead of adding another.
    if (const int existing = DocumentNodeOfPath(path);
        kind == DocumentKind::New && existing != ui::kNoNode) {
        RemoveLabelNodes(existing);
        MakeDocumentCurrent(path);
        store::RegisterDocument(parts_.settings, path);
        parts_.settings.WriteSetting(store::kCurrentLabelSetting, Text());
        SelectGuarded(existing);
        SetCurrentLabel(Text());
        return;
    }
    const int number = static_cast<int>(documents_.size()) + 1;
    const int documentNode = parts_.tree.AddNode(ui::kNoNode, store::DocumentBaseName(path),
                                                 ImageOf(NodeKind::Document), number);
    if (kind == DocumentKind::Opened) {
        const std::vector<Text> labels = store::ListLabels(path);
        {
            PaintPause pause(parts_.tree.widget());
            AddLabelNodes(documentNode, number, labels);
        }
        parts_.tree.Expand(documentNode);
        if (!labels.empty()) {
            ShowLabel(path, labels.front());
        }
    }
    current_.document = path;
    documents_.push_back(path);
    store::RegisterDocument(parts_.settings, path);
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, current_.document);
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, Text());
    SelectGuarded(documentNode);
    SetCurrentLabel(Text());
}

int Workspace::DocumentNodeOfPath(const Text& path) const {
    for (int index = 0; index < parts_.tree.Count(); index += 1 + parts_.tree.ChildCount(index)) {
        if (DocumentPathOf(index) == path) {
            return index;
        }
    }
    return ui::kNoNode;
}

void Workspace::AddLabelNode(const Text& document, const Text& label) {
    const int documentNode = DocumentNodeOfPath(document);
    if (documentNode == ui::kNoNode) {
        return;
    }
    parts_.tree.AddNode(documentNode, label, ImageOf(NodeKind::Label),
                        parts_.tree.ItemValue(documentNode));
    parts_.tree.Expand(documentNode);
}

void Workspace::RemoveLabelNodes(int documentNode) {
    selectionGuard_ = true;
    for (int child = parts_.tree.ChildCount(documentNode); child > 0; --child) {
        parts_.tree.DeleteNode(documentNode + child);
    }
    selectionGuard_ = false;
}

void Workspace::RemoveDocumentNode(int documentNode) {
    // No guard: a selection the deletion moves is handled like any other.
    parts_.tree.DeleteNode(documentNode);
    current_.document.clear();
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, Text());
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, Text());
    SetCurrentLabel(Text());
}

NodeKind Workspace::KindOf(int index) const {
    return parts_.tree.Level(index) == 1 ? NodeKind::Document : NodeKind::Label;
}

int Workspace::DocumentNodeIndexOf(int index) const {
    const int parent = parts_.tree.Parent(index);
    return parent == ui::kNoNode ? index : parent;
}

const Text& Workspace::DocumentPathOf(int index) const {
    static const Text kNoDocument;
    if (index < 0 || index >= parts_.tree.Count()) {
        return kNoDocument;
    }
    const int number = parts_.tree.ItemValue(index);
    if (number < 1 || static_cast<std::size_t>(number) > documents_.size()) {
        return kNoDocument;
    }
    return documents_[static_cast<std::size_t>(number) - 1];
}

void Workspace::SetCaptionToDocument(const Text& path) {
    emit CaptionChanged(windowTitle_ + path);
}

void Workspace::MakeDocumentCurrent(const Text& path) {
    current_.document = path;
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, current_.document);
}

} // namespace quorvel::workspace
