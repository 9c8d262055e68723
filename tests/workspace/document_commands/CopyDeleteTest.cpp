// SaveDocumentCopy and DeleteDocumentFile.
#include "support/CaseName.h"
#include "workspace/document_commands/DocumentCommandsFixture.h"

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;
using SaveDocumentCopyTest = DocumentCommandsTest;
using DeleteDocumentFileTest = DocumentCommandsTest;

TEST_F(SaveDocumentCopyTest, CopiesTheFileOnDiskAndLeavesTheWorkspaceAlone) {
    StartInAlpha();
    TypeIntoEditBox("X");
    const Text copy = PathOf("copy.txt");
    WriteBytes(copy, "replaced without asking");
    const std::vector<Text> tree = TreeDump();
    dialogs_.ExpectSaveFile(copy);

    commands_.SaveDocumentCopy();

    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0].kind, DialogKind::SaveFile);
    EXPECT_EQ(dialogs_.Shown()[0].title, "另存为");
    EXPECT_EQ(dialogs_.Shown()[0].startDirectory, alphaFolder_);
    // What is on disk, without the pending edit, which stays pending.
    EXPECT_EQ(ReadBytes(copy), alphaBytes_);
    EXPECT_EQ(ReadBytes(alpha_), alphaBytes_);
    EXPECT_TRUE(Edited());
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentDocument(), alpha_);
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{alpha_, beta_}));
    EXPECT_EQ(store::EnumerateRegistry(settings_), (std::vector<Text>{alpha_, beta_}));
    EXPECT_TRUE(captions_.empty());
}

struct DeleteCase {
    const char* name;
    DocumentCommandsTest::Beta beta;
    std::vector<Text> treeAfter;
    int selectionAfter;
    bool betaCurrentAfter; // else no document is current
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.name;
}

// Label b of alpha is selected. The tree then selects beta's node, which is loaded, or nothing.
const DeleteCase kDeleteCases[] = {
    {"NeighbourIsLoaded",
     DocumentCommandsTest::Beta::Registered,
     {"1|beta|2|2", "2|x|2|12"},
     0,
     true},
    {"LastDocumentLeavesNothing", DocumentCommandsTest::Beta::Absent, {}, ui::kNoNode, false},
};

class DeleteSelectedLabelsDocumentTest : public DocumentCommandsTest,
                                         public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSelectedLabelsDocumentTest, TrashesItsFileAndRemovesItsNodes) {
    const DeleteCase& c = GetParam();
    StartInAlpha(c.beta);
    tree_.Select(2);
    ASSERT_EQ(editBox_.ReadText(), "two");
    captions_.clear();
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteDocumentFile();

    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "确定删除“" + alpha_ + "”文件吗？");
    EXPECT_EQ(Messages()[0].title, "询问：");
    EXPECT_EQ(Messages()[0].style, ui::MessageStyle::YesNoQuestion);
    EXPECT_FALSE(store::FileExists(alpha_));
    EXPECT_EQ(ReadBytes(trash_.FileInTrash("alpha.txt")), alphaBytes_);
    EXPECT_EQ(TreeDump(), c.treeAfter);
    EXPECT_EQ(RegistryKey(1), "空");
    EXPECT_EQ(workspace_.DocumentList().front(), alpha_);
    EXPECT_EQ(tree_.Selection(), c.selectionAfter);
    const Text current = c.betaCurrentAfter ? beta_ : Text();
    EXPECT_EQ(workspace_.CurrentDocument(), current);
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), current);
    EXPECT_EQ(captions_,
              c.betaCurrentAfter ? std::vector<Text>{kTitle + beta_} : std::vector<Text>{});
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(Setting(store::kCurrentLabelSetting), "");
    EXPECT_EQ(editBox_.ReadText(), "two");
    EXPECT_EQ(ReadBytes(beta_), betaBytes_);
}

INSTANTIATE_TEST_SUITE_P(DocumentCommands, DeleteSelectedLabelsDocumentTest,
                         ::testing::ValuesIn(kDeleteCases), CaseName());

TEST_F(DeleteDocumentFileTest, PendingEditOfTheDeletedDocumentIsNotWrittenBack) {
    StartInAlpha();
    TypeIntoEditBox("X");
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteDocumentFile();

    // Moving the selection to beta must not save a's edit into a new alpha.txt.
    EXPECT_FALSE(store::FileExists(alpha_));
    EXPECT_EQ(ReadBytes(trash_.FileInTrash("alpha.txt")), alphaBytes_);
    EXPECT_EQ(ReadBytes(beta_), betaBytes_);
    EXPECT_FALSE(Edited());
    EXPECT_EQ(tree_.Selection(), 0);
    EXPECT_EQ(workspace_.CurrentDocument(), beta_);
}

TEST_F(DeleteDocumentFileTest, PendingEditOfAnotherDocumentIsSavedFirst) {
    StartInAlpha();
    TypeIntoEditBox("X");
    workspace_.SelectGuarded(4); // beta's x selected while alpha's a is current and edited
    dialogs_.ExpectMessage(ui::MessageAnswer::Yes);

    commands_.DeleteDocumentFile();

    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "确定删除“" + beta_ + "”文件吗？");
    EXPECT_FALSE(store::FileExists(beta_));
    EXPECT_EQ(ReadBytes(alpha_), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_FALSE(Edited());
    EXPECT_EQ(RegistryKey(2), "空");
    EXPECT_EQ(RegistryKey(1), alpha_);
    EXPECT_EQ(TreeDump(), (std::vector<Text>{"1|alpha|1|2", "2|a|1|12", "2|b|1|12"}));
    EXPECT_EQ(tree_.Selection(), 0);
    EXPECT_EQ(workspace_.CurrentDocument(), alpha_);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
}

} // namespace
} // namespace quorvel::workspace::testing
