#include "store/Backup.h"
#include "store/FileIo.h"
#include "support/CaseName.h"
#include "workspace/WorkspaceFixture.h"

#include <QTreeWidgetItem>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;
using BuildTreeTest = WorkspaceTest;

TEST_F(BuildTreeTest, RegistrySkipsRemovedEntriesAndStopsAtTheFirstGap) {
    const Text alpha = WriteDocument("alpha.txt", {{"a1", "one"}, {"a2", "two"}});
    const Text beta = PathOf("beta.txt"); // registered, but its file is missing
    const Text gamma = WriteDocument("gamma.txt", {{"g", "three"}});
    WriteRegistryKey(1, alpha);
    WriteRegistryKey(2, "空");
    WriteRegistryKey(3, beta);
    WriteRegistryKey(5, gamma); // after the gap at key 4

    workspace_.BuildTree();

    const std::vector<Text> expected = {"1|alpha|1|2", "2|a1|1|12", "2|a2|1|12", "1|beta|2|2"};
    EXPECT_EQ(TreeDump(), expected);
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{alpha, beta}));
    EXPECT_EQ(tree_.Selection(), ui::kNoNode);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_TRUE(captions_.empty());
}

TEST_F(BuildTreeTest, SameBaseNameInTwoFoldersGivesTwoDocuments) {
    std::filesystem::create_directory(PathOf("one"));
    std::filesystem::create_directory(PathOf("two"));
    const Text first = WriteDocument("one/x.txt", {{"p", "first text"}});
    const Text second = WriteDocument("two/x.txt", {{"q", "second text"}});
    Register({first, second});

    workspace_.BuildTree();

    const std::vector<Text> expected = {"1|x|1|2", "2|p|1|12", "1|x|2|2", "2|q|2|12"};
    EXPECT_EQ(TreeDump(), expected);
    EXPECT_EQ(workspace_.DocumentPathOf(3), second);

    tree_.Select(3);
    EXPECT_EQ(workspace_.CurrentDocument(), second);
    EXPECT_EQ(editBox_.ReadText(), "second text");
}

// The current document is notes.txt, registered after other.txt, which has a label "b" too.
// Nodes: 0 other, 1 b; 2 notes, 3 a, 4 b, 5 notes.
struct RestoreCase {
    const char* name;
    bool registered;
    bool fileExists;
    Text savedLabel;
    bool restored;
    int selected;
    Text editText;
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

const RestoreCase kRestoreCases[] = {
    {"SavedLabelSelected", true, true, "b", true, 4, "two"},
    {"LabelNamedLikeItsDocument", true, true, "notes", true, 5, "three"},
    {"SavedLabelNotAmongTheLabels", true, true, "zz", true, ui::kNoNode, "kept"},
    {"NoSavedLabel", true, true, "", false, ui::kNoNode, "kept"},
    {"NotRegistered", false, true, "b", false, ui::kNoNode, "kept"},
    {"FileMissing", true, false, "b", false, ui::kNoNode, "kept"},
};

class RestoreTest : public WorkspaceTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreTest, RestoresTheSavedLabelOnlyWhenItCan) {
    const RestoreCase& c = GetParam();
    const Text other = WriteDocument("other.txt", {{"b", "other b"}});
    const Text notesBytes = DocumentBytes({{"a", "one"}, {"b", "two"}, {"notes", "three"}});
    const Text notes = PathOf("notes.txt");
    if (c.fileExists) {
        quorvel::testing::WriteBytes(notes, notesBytes);
    }
    Register({other});
    if (c.registered) {
        Register({notes});
    }
    WriteSettingValue(store::kCurrentLabelSetting, c.savedLabel);
    editBox_.WriteText("kept");
    workspace_.SetCurrentDocument(notes);

    workspace_.BuildTree();

    EXPECT_EQ(tree_.Selection(), c.selected);
    EXPECT_EQ(editBox_.ReadText(), c.editText);
    EXPECT_EQ(workspace_.CurrentLabel(), c.restored ? c.savedLabel : "");
    EXPECT_EQ(workspace_.CurrentDocument(), notes);
    EXPECT_EQ(captions_, c.restored ? std::vector<Text>{kTitle + notes} : std::vector<Text>{});
    const Text backup = store::BackupPath(notes, store::kStartupBackupPrefix);
    EXPECT_EQ(store::FileExists(backup), c.restored);
    if (c.restored) {
        EXPECT_EQ(quorvel::testing::ReadBytes(backup), notesBytes);
    }
    if (c.registered && c.fileExists) {
        EXPECT_TRUE(ItemOf(2)->isExpanded()); // the current document opens even without a label
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RestoreTest, ::testing::ValuesIn(kRestoreCases), CaseName());

} // namespace
} // namespace quorvel::workspace::testing
