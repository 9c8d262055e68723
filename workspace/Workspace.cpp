#include "workspace/Workspace.h"

#include "store/Backup.h"
#include "store/Document.h"
#include "text/TextOps.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"

#include <QTreeWidget>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

namespace quorvel::workspace {
namespace {

constexpr int kCurrentLabelPane = 0;

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

Text DocumentBaseName(const Text& path) {
    // Both searches step by characters: a "/" or "." byte inside a multi-byte character is no
    // separator.
    const std::size_t slash = text::FindLastChar(path, '/');
    const Text name = slash == Text::npos ? path : path.substr(slash + 1);
    const std::size_t dot = text::FindLastChar(name, '.');
    return dot == Text::npos ? name : name.substr(0, dot);
}

Workspace::Workspace(WorkspaceParts parts, Text windowTitle)
    : parts_(parts), windowTitle_(std::move(windowTitle)) {
    connect(&parts_.tree, &ui::TreeView::SelectionChanged, this, &Workspace::HandleTreeSelection);
    connect(&parts_.tree, &ui::TreeView::RightButtonReleased, this,
            &Workspace::OnRightButtonReleased);
}

Text Workspace::CurrentLabel() const {
    return parts_.statusBar.ReadPane(kCurrentLabelPane);
}

void Workspace::SetCurrentLabel(const Text& label) {
    parts_.statusBar.WritePane(kCurrentLabelPane, label);
}

void Workspace::ShowLabel(const Text& path, const Text& label) {
    const store::SectionRead section = store::ReadSection(path, label);
    if (section.found) {
        parts_.editBox.WriteText(section.text);
    }
    SetCurrentLabel(label);
}

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
        const std::size_t end = RunEnd(registry, begin, currentDocument_);
        listings.clear();
        for (std::size_t i = begin; i < end; ++i) {
            listings.push_back(ListRegistered(registry[i]));
        }
        for (std::size_t i = begin; i < end; ++i) {
            const Text& path = registry[i];
            ++number;
            const int documentNode = parts_.tree.AddNode(ui::kNoNode, DocumentBaseName(path),
                                                         ui::kDocumentImage, number);
            documents_.push_back(path);
            const std::optional<std::vector<Text>>& labels = listings[i - begin];
            if (!labels) {
                continue; // a missing file shows as a node without labels and is never restored
            }
            const std::vector<int> labelNodes = AddLabelNodes(documentNode, number, *labels);
            if (path == currentDocument_) {
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
    ShowLabel(currentDocument_, saved);
    store::StartupBackup(currentDocument_);
    SetCaptionToDocument(currentDocument_);
}

std::vector<int> Workspace::AddLabelNodes(int documentNode, int number,
                                          const std::vector<Text>& labels) {
    // One batch per document: the tree takes its labels in a single insertion.
    const int first = parts_.tree.AddNodes(documentNode, labels, ui::kLabelImage, number);
    std::vector<int> nodes(labels.size(), ui::kNoNode);
    for (std::size_t i = 0; i < nodes.size() && first != ui::kNoNode; ++i) {
        nodes[i] = first + static_cast<int>(i);
    }
    return nodes;
}

void Workspace::AddDocument(const Text& path, DocumentKind kind) {
    const int number = static_cast<int>(documents_.size()) + 1;
    const int documentNode =
        parts_.tree.AddNode(ui::kNoNode, DocumentBaseName(path), ui::kDocumentImage, number);
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
    currentDocument_ = path;
    documents_.push_back(path);
    store::RegisterDocument(parts_.settings, path);
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, currentDocument_);
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, Text());
    SelectGuarded(documentNode);
    SetCurrentLabel(Text());
}

void Workspace::RemoveDocumentNode(int documentNode) {
    // No guard: a selection the deletion moves is handled like any other.
    parts_.tree.DeleteNode(documentNode);
    currentDocument_.clear();
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, Text());
    parts_.settings.WriteSetting(store::kCurrentLabelSetting, Text());
    SetCurrentLabel(Text());
}

void Workspace::SelectGuarded(int index) {
    selectionGuard_ = true;
    parts_.tree.Select(index);
    selectionGuard_ = false;
}

int Workspace::DocumentNodeOf(int index) const {
    const int parent = parts_.tree.Parent(index);
    return parent == ui::kNoNode ? index : parent;
}

const Text& Workspace::DocumentOfNode(int index) const {
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
    currentDocument_ = path;
    parts_.settings.WriteSetting(store::kCurrentDocumentSetting, currentDocument_);
}

} // namespace quorvel::workspace
