#include "ui/TreeView.h"

#include "support/CodePageScope.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvel::ui {
namespace {

// Documents A (a1, a2), B (b1, b2, b3), C (none), D (d1): indexes
// A 0, a1 1, a2 2, B 3, b1 4, b2 5, b3 6, C 7, D 8, d1 9.
struct DocumentSpec {
    Text name;
    std::vector<Text> labels;
};

const std::vector<DocumentSpec> kDocuments{
    {"A", {"a1", "a2"}}, {"B", {"b1", "b2", "b3"}}, {"C", {}}, {"D", {"d1"}}};

class TreeViewTest : public ::testing::Test {
protected:
    TreeViewTest() {
        window_.resize(300, 600);
        tree_.widget()->setGeometry(0, 0, 300, 600);
        QObject::connect(&tree_, &TreeView::SelectionChanged,
                         [this] { events_.push_back(tree_.Selection()); });
    }

    void Build() {
        int number = 0;
        for (const DocumentSpec& document : kDocuments) {
            ++number;
            const int node = tree_.AddNode(kNoNode, document.name, kDocumentImage, number);
            for (const Text& label : document.labels) {
                tree_.AddNode(node, label, kLabelImage, number);
            }
        }
    }

    // The node texts in index order.
    std::vector<Text> Texts() const {
        std::vector<Text> texts;
        for (int index = 0; index < tree_.Count(); ++index) {
            texts.push_back(tree_.NodeText(index));
        }
        return texts;
    }

    int IndexOfText(const Text& text) const {
        for (int index = 0; index < tree_.Count(); ++index) {
            if (tree_.NodeText(index) == text) {
                return index;
            }
        }
        return kNoNode;
    }

    // The item of a node, expanded or not: the items in preorder are the nodes in index order.
    QTreeWidgetItem* ItemOf(int index) const {
        QTreeWidgetItemIterator it(tree_.widget());
        for (int at = 0; *it != nullptr && at < index; ++at) {
            ++it;
        }
        return *it;
    }

    void ShowExpanded() {
        for (int index = tree_.Count() - 1; index >= 0; --index) {
            tree_.Expand(index);
        }
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    QPoint CentreOf(int index) const {
        QTreeWidget* widget = tree_.widget();
        QTreeWidgetItem* item = widget->topLevelItem(0);
        for (int at = 0; at < index; ++at) {
            item = widget->itemBelow(item);
        }
        return widget->visualItemRect(item).center();
    }

    QWidget window_;
    TreeView tree_{&window_};
    std::vector<int> events_; // the selection as each SelectionChanged saw it
};

TEST_F(TreeViewTest, NodesAreAddressedInPreorder) {
    Build();
    EXPECT_EQ(tree_.widget()->objectName(), QStringLiteral("树型框1"));
    ASSERT_EQ(tree_.Count(), 10);

    struct Expected {
        Text text;
        int parent;
        int level;
        int children;
        int itemValue;
        int image;
    };
    const std::vector<Expected> expected{{"A", -1, 1, 2, 1, 2},  {"a1", 0, 2, 0, 1, 12},
                                         {"a2", 0, 2, 0, 1, 12}, {"B", -1, 1, 3, 2, 2},
                                         {"b1", 3, 2, 0, 2, 12}, {"b2", 3, 2, 0, 2, 12},
                                         {"b3", 3, 2, 0, 2, 12}, {"C", -1, 1, 0, 3, 2},
                                         {"D", -1, 1, 1, 4, 2},  {"d1", 8, 2, 0, 4, 12}};
    for (int index = 0; index < 10; ++index) {
        const Expected& node = expected[static_cast<std::size_t>(index)];
        SCOPED_TRACE("node " + std::to_string(index));
        EXPECT_EQ(tree_.NodeText(index), node.text);
        EXPECT_EQ(tree_.Parent(index), node.parent);
        EXPECT_EQ(tree_.Level(index), node.level);
        EXPECT_EQ(tree_.ChildCount(index), node.children);
        EXPECT_EQ(tree_.ItemValue(index), node.itemValue);
        EXPECT_EQ(tree_.Image(index), node.image);
    }
    // Every node shows an icon for its image.
    QTreeWidgetItem* document = tree_.widget()->topLevelItem(0);
    EXPECT_FALSE(document->icon(0).isNull());
    EXPECT_FALSE(document->child(0)->icon(0).isNull());
}

TEST_F(TreeViewTest, AddingUnderAnEarlierDocumentShiftsTheLaterNodes) {
    Build();
    // A new last child of B lands after b3 and pushes C, D and d1 down by one.
    EXPECT_EQ(tree_.AddNode(3, "b4", kLabelImage, 2), 7);
    EXPECT_EQ(tree_.AddNode(0, "a3", kLabelImage, 1), 3);
    EXPECT_EQ(tree_.AddNode(kNoNode, "E", kDocumentImage, 5), 12);
    EXPECT_EQ(Texts(), (std::vector<Text>{"A", "a1", "a2", "a3", "B", "b1", "b2", "b3", "b4", "C",
                                          "D", "d1", "E"}));
    EXPECT_EQ(tree_.Parent(11), 10);
}

TEST_F(TreeViewTest, ThereAreOnlyTwoLevels) {
    Build();
    EXPECT_EQ(tree_.AddNode(1, "under a label", kLabelImage, 1), kNoNode);
    EXPECT_EQ(tree_.AddNode(10, "past the end", kLabelImage, 1), kNoNode);
    EXPECT_EQ(tree_.Count(), 10);
    // Outside the tree.
    for (int index : {-1, 10, 1000}) {
        EXPECT_EQ(tree_.Parent(index), kNoNode);
        EXPECT_EQ(tree_.Level(index), 0);
        EXPECT_EQ(tree_.NodeText(index), "");
    }
}

TEST_F(TreeViewTest, DeletingANodeTakesItsChildrenAndShiftsLaterIndexes) {
    Build();
    tree_.DeleteNode(3); // B with its three labels
    EXPECT_EQ(Texts(), (std::vector<Text>{"A", "a1", "a2", "C", "D", "d1"}));
    EXPECT_EQ(tree_.Parent(5), 4);
    EXPECT_EQ(tree_.ItemValue(5), 4);

    tree_.DeleteNode(1); // a1 alone
    EXPECT_EQ(Texts(), (std::vector<Text>{"A", "a2", "C", "D", "d1"}));
    EXPECT_EQ(tree_.Parent(4), 3);

    tree_.DeleteNode(99);
    EXPECT_EQ(tree_.Count(), 5);
    tree_.Clear();
    EXPECT_EQ(tree_.Count(), 0);
    EXPECT_TRUE(events_.empty());
}

// A batch of nodes lands where as many single adds would, or nowhere.
struct BatchCase {
    const char* name;
    int parent;
    std::vector<Text> texts;
    int first; // kNoNode: nothing is added
    std::vector<Text> after;
};

const std::vector<Text> kBuilt{"A", "a1", "a2", "B", "b1", "b2", "b3", "C", "D", "d1"};

const std::vector<BatchCase> kBatchCases{
    {"under an earlier document",
     3,
     {"b4", "标签 b5"},
     7,
     {"A", "a1", "a2", "B", "b1", "b2", "b3", "b4", "标签 b5", "C", "D", "d1"}},
    {"under a document without labels",
     7,
     {"c1"},
     8,
     {"A", "a1", "a2", "B", "b1", "b2", "b3", "C", "c1", "D", "d1"}},
    {"under the first document",
     0,
     {"a3", "a4", "a5"},
     3,
     {"A", "a1", "a2", "a3", "a4", "a5", "B", "b1", "b2", "b3", "C", "D", "d1"}},
    {"at the top level",
     kNoNode,
     {"E", "F"},
     10,
     {"A", "a1", "a2", "B", "b1", "b2", "b3", "C", "D", "d1", "E", "F"}},
    {"no texts", 3, {}, kNoNode, kBuilt},
    {"under a label", 1, {"x"}, kNoNode, kBuilt},
    {"past the end", 10, {"x"}, kNoNode, kBuilt},
};

TEST_F(TreeViewTest, ABatchLandsInPlaceWithItsImageAndItemValue) {
    for (const BatchCase& batch : kBatchCases) {
        SCOPED_TRACE(batch.name);
        tree_.Clear();
        Build();
        tree_.Select(9); // d1, after every batch
        events_.clear();
        const int image = batch.parent == kNoNode ? kDocumentImage : kLabelImage;

        EXPECT_EQ(tree_.AddNodes(batch.parent, batch.texts, image, 7), batch.first);
        EXPECT_EQ(Texts(), batch.after);
        for (std::size_t i = 0; i < batch.texts.size() && batch.first != kNoNode; ++i) {
            const int node = batch.first + static_cast<int>(i);
            EXPECT_EQ(tree_.Parent(node), batch.parent);
            EXPECT_EQ(tree_.Level(node), batch.parent == kNoNode ? 1 : 2);
            EXPECT_EQ(tree_.ItemValue(node), 7);
            EXPECT_EQ(tree_.Image(node), image);
            // Shown decoded, with the image's icon.
            QTreeWidgetItem* item = ItemOf(node);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->text(0), QString::fromStdString(batch.texts[i]));
            EXPECT_FALSE(item->icon(0).isNull());
        }
        // The nodes after the batch moved down with their own values, and the selection went
        // with its node without an event.
        const int d1 = IndexOfText("d1");
        EXPECT_EQ(tree_.Parent(d1), d1 - 1);
        EXPECT_EQ(tree_.ItemValue(d1), 4);
        EXPECT_EQ(tree_.Image(d1), kLabelImage);
        EXPECT_EQ(tree_.Selection(), d1);
        EXPECT_TRUE(events_.empty());
    }
}

// One change of the selection of each kind, and what SelectionChanged saw.
struct SelectionCase {
    const char* name;
    int selectedBefore; // kNoNode: nothing selected
    std::function<void(TreeView&)> change;
    std::vector<int> events;
    Text selectedAfter; // "" when nothing is selected
};

const std::vector<SelectionCase> kSelectionCases{
    {"select", kNoNode, [](TreeView& tree) { tree.Select(4); }, {4}, "b1"},
    {"select another", 4, [](TreeView& tree) { tree.Select(8); }, {8}, "D"},
    {"select the selected node again", 4, [](TreeView& tree) { tree.Select(4); }, {}, "b1"},
    {"select none", 4, [](TreeView& tree) { tree.Select(kNoNode); }, {-1}, ""},
    {"select none with nothing selected",
     kNoNode,
     [](TreeView& tree) { tree.Select(kNoNode); },
     {},
     ""},
    {"select past the end", 4, [](TreeView& tree) { tree.Select(10); }, {}, "b1"},
    {"delete the selected label: the next one",
     5,
     [](TreeView& tree) { tree.DeleteNode(5); },
     {5},
     "b3"},
    {"delete the selected last label: the one before",
     6,
     [](TreeView& tree) { tree.DeleteNode(6); },
     {5},
     "b2"},
    {"delete the selected only label: its document",
     9,
     [](TreeView& tree) { tree.DeleteNode(9); },
     {8},
     "D"},
    {"delete the selected document: the next one",
     3,
     [](TreeView& tree) { tree.DeleteNode(3); },
     {3},
     "C"},
    {"delete the document of the selected label: the next document",
     5,
     [](TreeView& tree) { tree.DeleteNode(3); },
     {3},
     "C"},
    {"delete the last document of the selected label: the one before",
     9,
     [](TreeView& tree) { tree.DeleteNode(8); },
     {7},
     "C"},
    {"delete a node before the selection", 5, [](TreeView& tree) { tree.DeleteNode(0); }, {}, "b2"},
    {"delete a node after the selection", 1, [](TreeView& tree) { tree.DeleteNode(3); }, {}, "a1"},
    {"delete with nothing selected", kNoNode, [](TreeView& tree) { tree.DeleteNode(3); }, {}, ""},
    {"clear", 5, [](TreeView& tree) { tree.Clear(); }, {-1}, ""},
    {"clear with nothing selected", kNoNode, [](TreeView& tree) { tree.Clear(); }, {}, ""},
};

TEST_F(TreeViewTest, EveryChangeOfTheSelectionRaisesOneEvent) {
    // Expanded or not, a document's deletion moves the selection alike.
    for (const bool expanded : {false, true}) {
        for (const SelectionCase& selectionCase : kSelectionCases) {
            SCOPED_TRACE(std::string(selectionCase.name) + (expanded ? ", expanded" : ""));
            tree_.Clear();
            Build();
            if (expanded) {
                ShowExpanded();
            }
            tree_.Select(selectionCase.selectedBefore);
            events_.clear();

            selectionCase.change(tree_);
            EXPECT_EQ(events_, selectionCase.events);
            const int selected = tree_.Selection();
            EXPECT_EQ(selected == kNoNode ? Text() : tree_.NodeText(selected),
                      selectionCase.selectedAfter);
        }
    }
}

TEST_F(TreeViewTest, DeletingTheOnlyNodeLeavesNothingSelected) {
    tree_.AddNode(kNoNode, "alone", kDocumentImage, 1);
    tree_.Select(0);
    events_.clear();
    tree_.DeleteNode(0);
    EXPECT_EQ(events_, std::vector<int>{kNoNode});
    EXPECT_EQ(tree_.Selection(), kNoNode);
}

TEST_F(TreeViewTest, ArrowKeysMoveTheSelectionOneEventEach) {
    Build();
    tree_.Expand(0);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    tree_.Select(0);
    events_.clear();

    // A is expanded, B is not: down goes A, a1, a2, B, C.
    for (int key = 0; key < 4; ++key) {
        QTest::keyClick(tree_.widget(), Qt::Key_Down);
    }
    EXPECT_EQ(events_, (std::vector<int>{1, 2, 3, 7}));
    QTest::keyClick(tree_.widget(), Qt::Key_Up);
    EXPECT_EQ(tree_.Selection(), 3);
    EXPECT_EQ(events_.size(), 5U);
}

TEST_F(TreeViewTest, ClicksSelectAndCtrlClickKeepsTheSelection) {
    Build();
    ShowExpanded();
    QWidget* viewport = tree_.widget()->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, CentreOf(5));
    EXPECT_EQ(events_, std::vector<int>{5});
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CentreOf(5));
    EXPECT_EQ(tree_.Selection(), 5);
    EXPECT_EQ(events_.size(), 1U);
}

TEST_F(TreeViewTest, ARightPressSelectsTheNodeBeforeItIsReported) {
    Build();
    ShowExpanded();
    QWidget* viewport = tree_.widget()->viewport();
    std::vector<std::string> log;
    QObject::connect(&tree_, &TreeView::SelectionChanged,
                     [&] { log.push_back("selection " + std::to_string(tree_.Selection())); });
    QObject::connect(&tree_, &TreeView::RightButtonPressed, [&] { log.push_back("pressed"); });
    QSignalSpy released(&tree_, &TreeView::RightButtonReleased);

    const QPoint onB2 = CentreOf(5);
    QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, onB2);
    EXPECT_EQ(log, (std::vector<std::string>{"selection 5", "pressed"}));
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier, onB2);
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).toPoint(), viewport->mapToGlobal(onB2));
    EXPECT_EQ(tree_.Selection(), 5);
}

TEST_F(TreeViewTest, AClickOnEmptySpaceKeepsTheSelection) {
    Build();
    ShowExpanded();
    tree_.Select(5);
    events_.clear();
    QWidget* viewport = tree_.widget()->viewport();
    QSignalSpy pressed(&tree_, &TreeView::RightButtonPressed);
    QSignalSpy released(&tree_, &TreeView::RightButtonReleased);

    const QPoint belowTheNodes(20, viewport->height() - 5);
    ASSERT_EQ(tree_.widget()->itemAt(belowTheNodes), nullptr);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(viewport, button, Qt::NoModifier, belowTheNodes);
        QTest::mouseRelease(viewport, button, Qt::NoModifier, belowTheNodes);
    }
    // The right button is still reported, so the pop-up can open for the selected node.
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(tree_.Selection(), 5);
    EXPECT_TRUE(events_.empty());
}

TEST_F(TreeViewTest, ARightReleaseOutsideTheTreeIsNotReported) {
    Build();
    ShowExpanded();
    QWidget* viewport = tree_.widget()->viewport();
    QSignalSpy released(&tree_, &TreeView::RightButtonReleased);

    QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, CentreOf(1));
    QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier,
                        QPoint(viewport->width() + 40, 10));
    EXPECT_EQ(released.count(), 0);
    EXPECT_EQ(tree_.Selection(), 1);
}

TEST_F(TreeViewTest, NodeTextsKeepTheirBytes) {
    const std::vector<Text> texts{"plain", "中文标签", "\xff\xfe broken \x80", "[#x] \r\n end",
                                  "\xe4\xb8"};
    for (CodePage codePage : {CodePage::Utf8, CodePage::Gbk}) {
        testing::CodePageScope scope(codePage);
        tree_.Clear();
        for (const Text& text : texts) {
            const int node = tree_.AddNode(kNoNode, text, kDocumentImage, 1);
            EXPECT_EQ(tree_.NodeText(node), text);
            tree_.SetNodeText(node, text + "\x81");
            EXPECT_EQ(tree_.NodeText(node), text + "\x81");
        }
    }
    // The tree shows the decoded text.
    testing::CodePageScope utf8(CodePage::Utf8);
    tree_.Clear();
    tree_.AddNode(kNoNode, "中文标签", kDocumentImage, 1);
    EXPECT_EQ(tree_.widget()->topLevelItem(0)->text(0), QStringLiteral("中文标签"));
}

TEST_F(TreeViewTest, FiveHundredDocumentsOfAHundredLabels) {
    for (int document = 0; document < 500; ++document) {
        const int node =
            tree_.AddNode(kNoNode, "doc " + std::to_string(document), kDocumentImage, document + 1);
        ASSERT_EQ(node, document * 101);
        for (int label = 0; label < 100; ++label) {
            tree_.AddNode(node, "label " + std::to_string(label), kLabelImage, document + 1);
        }
    }
    ASSERT_EQ(tree_.Count(), 50500);
    EXPECT_EQ(tree_.NodeText(50499), "label 99");
    EXPECT_EQ(tree_.Parent(50499), 499 * 101);
    tree_.Select(50499);
    EXPECT_EQ(tree_.Selection(), 50499);
    tree_.DeleteNode(0);
    EXPECT_EQ(tree_.Selection(), 50398);
    EXPECT_EQ(tree_.ItemValue(50398), 500);
}

} // namespace
} // namespace quorvel::ui
