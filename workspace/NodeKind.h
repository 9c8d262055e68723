#pragma once

#include "ui/TreeView.h"

// The two kinds of node in the workspace's tree: a document node at the top, a label node under
// it. A node's kind is decided in one place, Workspace::KindOf; the tree only carries the image
// each kind is shown with.
namespace quorvel::workspace {

enum class NodeKind { Document, Label };

// The tree's image number for a node of this kind.
constexpr int ImageOf(NodeKind kind) {
    return kind == NodeKind::Document ? ui::kDocumentImage : ui::kLabelImage;
}

} // namespace quorvel::workspace
