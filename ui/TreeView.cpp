#include "ui/TreeView.h"

#include "ui/ByteCodec.h"

#include <QByteArray>
#include <QIcon>
#include <QItemSelection>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>
#include <vector>

namespace quorvel::ui {
namespace {

// What each node carries besides its displayed text.
constexpr int kItemValueRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kTextBytesRole = Qt::UserRole + 2;

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

    void AddTop(QTreeWidgetItem* item) {
        addTopLevelItem(item);
        tops_.push_back(item);
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
        // Qt's own handling first: it selects the node under the pointer for either button.
        QTreeWidget::mousePressEvent(event);
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
    QTreeWidgetItem* parentItem = nullptr;
    if (parent != kNoNode) {
        parentItem = widget_->ItemAt(parent);
        // Two levels only: a child goes under a top-level node.
        if (parentItem == nullptr || parentItem->parent() != nullptr) {
            return kNoNode;
        }
    }
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setData(0, kItemValueRole, itemValue);
    item->setData(0, kImageRole, image);
    item->setData(0, kTextBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    item->setText(0, DecodeForDisplay(text));
    item->setIcon(0, widget_->IconFor(image));
    if (parentItem == nullptr) {
        const int index = widget_->Count();
        widget_->AddTop(item);
        return index;
    }
    const int index = parent + 1 + parentItem->childCount();
    parentItem->addChild(item);
    return index;
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
    if (item == nullptr) {
        return {};
    }
    return item->data(0, kTextBytesRole).toByteArray().toStdString();
}

void TreeView::SetNodeText(int index, const Text& text) {
    QTreeWidgetItem* item = widget_->ItemAt(index);
    if (item == nullptr) {
        return;
    }
    item->setData(0, kTextBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    item->setText(0, DecodeForDisplay(text));
}

int TreeView::ItemValue(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? item->data(0, kItemValueRole).toInt() : 0;
}

int TreeView::Image(int index) const {
    const QTreeWidgetItem* item = widget_->ItemAt(index);
    return item != nullptr ? item->data(0, kImageRole).toInt() : 0;
}

void TreeView::Expand(int index) {
    if (QTreeWidgetItem* item = widget_->ItemAt(index)) {
        item->setExpanded(true);
    }
}

int TreeView::Selection() const {
    return widget_->IndexOf(widget_->SelectedItem());
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
