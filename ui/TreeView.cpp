#include "ui/TreeView.h"

#include "ui/ByteCodec.h"

#include <QIcon>
#include <QItemSelection>
#include <QList>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>
#include <algorithm>
#include <vector>

namespace quorvel::ui {
namespace {

// A node of the tree. Its text bytes, image and item value are members of the item rather than
// entries of Qt's per-role list, and its icon and shown text are answered from here: filling
// that list, and keeping a decoded copy of every text, costs allocations and memory per node
// that a tree of tens of thousands of labels feels at start-up. Only the rows on the screen are
// ever asked for their text, so decoding it on each request costs next to nothing; it is decoded
// in the active code page, which the program sets once before any window exists.
class Node final : public QTreeWidgetItem {
public:
    Node(const Text& text, int image, int itemValue, const QIcon& icon)
        : QTreeWidgetItem(UserType), bytes_(text), icon_(icon), image_(image),
          itemValue_(itemValue) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }

    const Text& bytes() const { return bytes_; }
    int image() const { return image_; }
    int itemValue() const { return itemValue_; }

    void SetText(const Text& text) {
        bytes_ = text;
        emitDataChanged();
    }

    QVariant data(int column, int role) const override {
        if (column == 0) {
            switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return DecodeForDisplay(bytes_);
            case Qt::DecorationRole:
                return icon_;
            default:
                break;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    Text bytes_;
    QIcon icon_;
    int image_ = 0;
    int itemValue_ = 0;
};

// Every item of the tree is a Node: only this file makes them.
const Node* AsNode(const QTreeWidgetItem* item) {
    return static_cast<const Node*>(item);
}

} // namespace

// The QTreeWidget itself. It reports every change of its selection to the owner exactly once,
// keeps a right click selecting like a left one, and, as a native tree does, keeps the selected
// node on a click on empty space and on a Ctrl+click of the selected node.
class TreeView::Widget final : public QTreeWidget {
public:
    Widget(TreeView& owner, QWidget* parent) : QTreeWidget(parent), owner_(owner) {
        setObjectName(QStringLiteral("树型框1"));
        setHeaderHidden(true);
        setColumnCount(1);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSortingEnabled(false);
        setDragDropMode(QAbstractItemView::NoDragDrop);
        // The owner opens its own pop-up on the right-button release.
        setContextMenuPolicy(Qt::PreventContextMenu);
        documentIcon_ = QIcon::fromTheme(QStringLiteral("text-x-generic"),
                                         style()->standardIcon(QStyle::SP_FileIcon));
        labelIcon_ = QIcon::fromTheme(QStringLiteral("format-justify-left"),
                                      style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    }

    QIcon IconFor(int image) const {
        if (image == kDocumentImage) {
            return documentIcon_;
        }
        if (image == kLabelImage) {
            return labelIcon_;
        }
        return {};
    }

    // Index to item and back, from the top-level child counts: the tree has two levels, so a
    // node's index is the sizes of the documents before its own plus its row under it. The walk
    // goes over tops_, the top-level items in order, because each of Qt's own item lookups costs
    // a cast.
    QTreeWidgetItem* ItemAt(int index) const {
        if (index < 0) {
            return nullptr;
        }
        int first = 0;
        for (QTreeWidgetItem* top : tops_) {
            const int size = 1 + top->childCount();
            if (index < first + size) {
                return index == first ? top : top->child(index - first - 1);
            }
            first += size;
        }
        return nullptr;
    }

    int PreviousIndex() const {
        return previous_.isValid() ? IndexOf(itemFromIndex(QModelIndex(previous_))) : kNoNode;
    }

    int IndexOf(QTreeWidgetItem* item) const {
        if (item == nullptr) {
            return kNoNode;
        }
        QTreeWidgetItem* parent = item->parent();
        const QTreeWidgetItem* top = parent != nullptr ? parent : item;
        int index = 0;
        for (QTreeWidgetItem* before : tops_) {
            if (before == top) {
                return parent != nullptr ? index + 1 + parent->indexOfChild(item) : index;
            }
            index += 1 + before->childCount();
        }
        return kNoNode;
    }

    int Count() const {
        int count = 0;
        for (const QTreeWidgetItem* top : tops_) {
            count += 1 + top->childCount();
        }
        return count;
    }

    // Where new nodes go: under parent (nullptr for the top level), the first at index.
    struct Place {
        bool valid = false; // false: parent is not a top-level node
        QTreeWidgetItem* parent = nullptr;
        int index = kNoNode;
    };

    Place PlaceUnder(int parent) const {
        if (parent == kNoNode) {
            return {true, nullptr, Count()};
        }
        QTreeWidgetItem* item = ItemAt(parent);
        // Two levels only: a child goes under a top-level node.
        if (item == nullptr || item->parent() != nullptr) {
            return {};
        }
        return {true, item, parent + 1 + item->childCount()};
    }

    // One insertion for all the items, so the model and the view hear of them once.
    void Append(const Place& place, const QList<QTreeWidgetItem*>& items) {
        if (place.parent != nullptr) {
            place.parent->addChildren(items);
            return;
        }
        addTopLevelItems(items);
        tops_.insert(tops_.end(), items.begin(), items.end());
    }

    QTreeWidgetItem* SelectedItem() const {
        const QModelIndexList selected = selectionModel()->selectedRows();
        return selected.isEmpty() ? nullptr : itemFromIndex(selected.front());
    }

    // Raises SelectionChanged when the selection differs from the one last reported, or always
    // when forced (the reported node is gone).
    void Report(bool force = false) {
        if (quiet_) {
            return;
        }
        QTreeWidgetItem* selected = SelectedItem();
        const QModelIndex now = selected != nullptr ? indexFromItem(selected) : QModelIndex();
        if (!force && QModelIndex(reported_) == now) {
            return;
        }
        previous_ = reported_;
        reported_ = now;
        emit owner_.SelectionChanged();
    }

    void Select(QTreeWidgetItem* item) {
        if (item == nullptr) {
            selectionModel()->clear(); // the selection and the current item both
        } else {
            setCurrentItem(item);
        }
        Report();
    }

    void Delete(QTreeWidgetItem* item) {
        const QModelIndex deleted = indexFromItem(item);
        const QModelIndex reported(reported_);
        const bool selectionGoes =
            reported.isValid() && (reported == deleted || reported.parent() == deleted);
        QTreeWidgetItem* parent = item->parent();
        const int row = parent != nullptr ? parent->indexOfChild(item) : RowOf(item);
        quiet_ = true;
        if (parent == nullptr) {
            tops_.erase(tops_.begin() + row);
        }
        delete item;
        if (selectionGoes) {
            SelectNeighbour(parent, row);
        }
        quiet_ = false;
        Report(selectionGoes);
    }

    void ClearAll() {
        const bool selectionGoes = reported_.isValid();
        quiet_ = true;
        tops_.clear();
        clear();
        quiet_ = false;
        Report(selectionGoes);
    }

protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override {
        QTreeWidget::selectionChanged(selected, deselected);
        Report();
    }

    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command =
            QTreeWidget::selectionCommand(index, event);
        if (!index.isValid() && event != nullptr &&
            dynamic_cast<const QMouseEvent*>(event) != nullptr) {
            return QItemSelectionModel::NoUpdate; // a click on empty space
        }
        if (index.isValid() && command.testFlag(QItemSelectionModel::Deselect)) {
            return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        }
        return command;
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QModelIndex before(reported_);
        // Qt's own handling first: it selects the node under the pointer for either button.
        QTreeWidget::mousePressEvent(event);
        if (event->button() == Qt::LeftButton && before.isValid() &&
            QModelIndex(reported_) == before &&
            indexAt(event->position().toPoint()).siblingAtColumn(0) == before) {
            emit owner_.SelectedNodePressed();
        }
        if (event->button() == Qt::RightButton) {
            emit owner_.RightButtonPressed();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        QTreeWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::RightButton &&
            viewport()->rect().contains(event->position().toPoint())) {
            emit owner_.RightButtonReleased(event->globalPosition().toPoint());
        }
    }

private:
    int RowOf(const QTreeWidgetItem* top) const {
        return static_cast<int>(std::find(tops_.begin(), tops_.end(), top) - tops_.begin());
    }

    // After the selected node, or its document, went from row of parent (nullptr: the top
    // level), the selection moves to the node now in its place: the next one at its level, else
    // the previous one, else its parent. This is Qt's own rule for a deleted current item; it is
    // applied here to the deleted document of a selected label too, where Qt's choice depends on
    // whether the document was expanded.
    void SelectNeighbour(QTreeWidgetItem* parent, int row) {
        const int siblings =
            parent != nullptr ? parent->childCount() : static_cast<int>(tops_.size());
        const auto sibling = [&](int at) {
            return parent != nullptr ? parent->child(at) : tops_[static_cast<std::size_t>(at)];
        };
        QTreeWidgetItem* target = parent;
        if (row < siblings) {
            target = sibling(row);
        } else if (row > 0) {
            target = sibling(row - 1);
        }
        if (target == nullptr) {
            selectionModel()->clear();
            return;
        }
        setCurrentItem(target);
    }

    TreeView& owner_;
    QIcon documentIcon_;
    QIcon labelIcon_;
    std::vector<QTreeWidgetItem*> tops_; // the top-level items; only this class changes them
    QPersistentModelIndex reported_;
    QPersistentModelIndex previous_; // the selection reported before reported_
    bool quiet_ = false;
};

TreeView::TreeView(QWidget* parent) : QObject(parent), widget_(new Widget(*this, parent)) {
    // The widget may go with its parent window before this object does.
    connect(widget_, &QObject::destroyed, this, [this] { widget_ = nullptr; });
}

TreeView::~TreeView() {
    delete widget_;
}

QTreeWidget* TreeView::widget() const {
    return widget_;
}

int TreeView::AddNode(int parent, const Text& text, int image, int itemValue) {
    return AddNodes(parent, std::span<const Text>(&text, 1), image, itemValue);
}

int TreeView::AddNodes(int parent, std::span<const Text> texts, int image, int itemValue) {
    const Widget::Place place = widget_->PlaceUnder(parent);
    if (!place.valid || texts.empty()) {
        return kNoNode;
    }
    const QIcon icon = widget_->IconFor(image);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const Text& text : texts) {
        items.append(new Node(text, image, itemValue, icon));
    }
    widget_->Append(place, items);
    return place.index;
}

void TreeView::DeleteNode(int index) {
    if (QTreeWidgetItem* item = widget_->ItemAt(index)) {
        widget_->Delete(item);
    }
}

void TreeView::Clear() {
    widget_->ClearAll();
}

int TreeView::Count() const {
    return widget_->Count();
}

int TreeView::Parent(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? widget_->IndexOf(item->parent()) : kNoNode;
}

int TreeView::Level(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    if (item == nullptr) {
        return 0;
    }
    return item->parent() == nullptr ? 1 : 2;
}

int TreeView::ChildCount(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? item->childCount() : 0;
}

Text TreeView::NodeText(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? AsNode(item)->bytes() : Text();
}

void TreeView::SetNodeText(int index, const Text& text) {
    if (QTreeWidgetItem* item = widget_->ItemAt(index)) {
        static_cast<Node*>(item)->SetText(text);
    }
}

int TreeView::ItemValue(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? AsNode(item)->itemValue() : 0;
}

int TreeView::Image(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? AsNode(item)->image() : 0;
}

void TreeView::Expand(int index) {
    if (QTreeWidgetItem* item = widget_->ItemAt(index)) {
        item->setExpanded(true);
    }
}

int TreeView::Selection() const {
    return widget_->IndexOf(widget_->SelectedItem());
}

int TreeView::PreviousSelection() const {
    return widget_->PreviousIndex();
}

void TreeView::Select(int index) {
    if (index == kNoNode) {
        widget_->Select(nullptr);
        return;
    }
    if (QTreeWidgetItem* item = widget_->ItemAt(index)) {
        widget_->Select(item);
    }
}

} // namespace quorvel::ui
