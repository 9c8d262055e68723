#include "store/Document.h"
#include "store/FileIo.h"
#include "support/CaseName.h"
#include "workspace/WorkspaceFixture.h"

#include <QTreeWidgetItem>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

struct AddCase {
    const char* name;
    DocumentKind kind;
    bool fileExists;
    std::vector<Text> addedNodes; // the dump of the new document's nodes
    Text editText;
};

void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.name;
}

const AddCase kAddCases[] = {
    {"Opened", DocumentKind::Opened, true, {"1|second|2|2", "2|s1|2|12", "2|s2|2|12"}, "sone"},
    {"New", DocumentKind::New, false, {"1|second|2|2"}, "edited"},
};

class AddDocumentTest : public WorkspaceTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddDocumentTest, AppendsSelectsAndMakesItCurrentWithoutLoading) {
    const AddCase& c = GetParam();
    const Text firstBytes = DocumentBytes({{"f1", "fone"}});
    const Text first = WriteDocument("first.txt", {{"f1", "fone"}});
    Register({first});
    workspace_.BuildTree();
    tree_.Select(1); // f1 is being edited, and the edit is pending
    editBox_.WriteText("edited");
    workspace_.MarkEdited();
    WriteSettingValue(store::kCurrentLabelSetting, "old");
    captions_.clear();
    const Text second = PathOf("second.txt");
    if (c.fileExists) {
        quorvel::testing::WriteBytes(second, DocumentBytes({{"s1", "sone"}, {"s2", "stwo"}}));
    }

    workspace_.AddDocument(second, c.kind);

    std::vector<Text> expected = {"1|first|1|2", "2|f1|1|12"};
    expected.insert(expected.end(), c.addedNodes.begin(), c.addedNodes.end());
    EXPECT_EQ(TreeDump(), expected);
    EXPECT_EQ(tree_.Selection(), 2);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(editBox_.ReadText(), c.editText);
    EXPECT_EQ(workspace_.CurrentDocument(), second);
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{first, second}));
    EXPECT_EQ(store::EnumerateRegistry(settings_), (std::vector<Text>{first, second}));
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), second);
    EXPECT_EQ(Setting(store::kCurrentLabelSetting, "unset"), "");
    if (c.kind == DocumentKind::Opened) {
        EXPECT_TRUE(ItemOf(2)->isExpanded());
    }
    // Selected under the guard: no auto-save, so the pending edit is neither written to the
    // document left nor into the new one, and the caption is the caller's business. (The
    // commands leave the text on screen first.) A shown first label replaced the edit.
    EXPECT_EQ(Edited(), c.kind == DocumentKind::New);
    EXPECT_EQ(quorvel::testing::ReadBytes(first), firstBytes);
    EXPECT_EQ(store::FileExists(second), c.fileExists);
    EXPECT_TRUE(captions_.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, AddDocumentTest, ::testing::ValuesIn(kAddCases), CaseName());

// Three documents of 2, 3 and 1 labels: nodes 0-2, 3-6 and 7-8.
class RemoveDocumentNodeTest : public WorkspaceTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        paths_ = {WriteDocument("a.txt", {{"a1", "x"}, {"a2", "x"}}),
                  WriteDocument("b.txt", {{"b1", "x"}, {"b2", "x"}, {"b3", "x"}}),
                  WriteDocument("c.txt", {{"c1", "x"}})};
        for (const Text& path : paths_) {
            Register({path});
        }
        workspace_.BuildTree();
    }
    std::vector<Text> paths_;
};

TEST_P(RemoveDocumentNodeTest, RemovesOnlyThatDocumentsNodes) {
    const int removed = GetParam();
    const int documentNodes[] = {0, 3, 7};
    const int sizes[] = {3, 4, 2};
    tree_.Select(5); // b2: removing b takes the selected node with it
    std::vector<Text> expected = TreeDump();
    const auto first = expected.begin() + documentNodes[removed];
    expected.erase(first, first + sizes[removed]);

    workspace_.RemoveDocumentNode(documentNodes[removed]);

    EXPECT_EQ(TreeDump(), expected);
    EXPECT_EQ(workspace_.CurrentDocument(), "");
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting, "unset"), "");
    EXPECT_EQ(Setting(store::kCurrentLabelSetting, "unset"), "");
    EXPECT_EQ(workspace_.DocumentList(), paths_);
    EXPECT_EQ(store::EnumerateRegistry(settings_), paths_);

    // The removed document's number is not given again.
    const Text added = PathOf("d.txt");
    workspace_.AddDocument(added, DocumentKind::New);
    EXPECT_EQ(tree_.ItemValue(tree_.Count() - 1), 4);
    EXPECT_EQ(workspace_.DocumentPathOf(tree_.Count() - 1), added);
}

// Names each case after the place of the removed document among the three.
std::string PlaceName(const ::testing::TestParamInfo<int>& caseInfo) {
    const char* const places[] = {"First", "Middle", "Last"};
    return places[caseInfo.param];
}

INSTANTIATE_TEST_SUITE_P(EachDocument, RemoveDocumentNodeTest, ::testing::Values(0, 1, 2),
                         PlaceName);

} // namespace
} // namespace quorvel::workspace::testing
