// Every way a document or backup command stops before acting, with the message boxes it shows,
// and the check that it then changed nothing: no file, tree node, setting or edit.
#include "store/Backup.h"
#include "support/CaseName.h"
#include "workspace/document_commands/DocumentCommandsFixture.h"

#include <QTreeWidget>
#include <filesystem>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;
using ui::MessageStyle;

enum class Arrange {
    NoDocument,        // the tree built, nothing selected, no CurrentDocument
    NothingSelected,   // alpha current, but its saved label has no node
    AlphaLabel,        // StartInAlpha
    AlphaEdited,       // StartInAlpha, then an edit of a not saved yet
    AlphaFileGone,     // StartInAlpha, then alpha.txt deleted behind the program's back
    BetaNodeRemoved,   // StartInAlpha, then beta's node deleted (its file and entry stay)
    BackupPathTaken,   // StartInAlpha, and a directory named as alpha's manual backup
    AlphaPathIsFolder, // StartInAlpha with a manual backup, then alpha.txt replaced by a folder
};

enum class Reply { OpenFile, SaveFile, Cancel, Yes, No, Ok };

struct Answer {
    Reply reply;
    const char* fileName = ""; // in the temporary directory, for OpenFile and SaveFile
};

struct Expected {
    const char* text; // "{alpha}" stands for alpha's full path
    const char* title;
    MessageStyle style;
};

struct MessageCase {
    const char* name;
    Arrange arrange;
    void (*run)(DocumentCommands&);
    std::vector<Answer> answers;
    std::vector<Expected> messages;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.name;
}

void New(DocumentCommands& c) {
    c.NewDocument();
}
void Open(DocumentCommands& c) {
    c.OpenDocument();
}
void Copy(DocumentCommands& c) {
    c.SaveDocumentCopy();
}
void Delete(DocumentCommands& c) {
    c.DeleteDocumentFile();
}
void Backup(DocumentCommands& c) {
    c.ManualBackup();
}
void RestoreStartup(DocumentCommands& c) {
    c.RestoreBackup(store::kStartupBackupPrefix);
}
void RestoreManual(DocumentCommands& c) {
    c.RestoreBackup(store::kManualBackupPrefix);
}

const Expected kAlreadyOpen{"此文件已经打开过", "提示：", MessageStyle::Warning};
const Expected kLineBreak{"文件名不能包含换行符", "错误：", MessageStyle::Warning};
const Expected kConfirmAlpha{"确定删除“{alpha}”文件吗？", "询问：", MessageStyle::YesNoQuestion};

const MessageCase kMessageCases[] = {
    {"OpenAnOpenDocument",
     Arrange::AlphaLabel,
     Open,
     {{Reply::OpenFile, "alpha.txt"}, {Reply::Ok}},
     {kAlreadyOpen}},
    {"OpenADocumentWhoseNodeWasRemoved",
     Arrange::BetaNodeRemoved,
     Open,
     {{Reply::OpenFile, "beta.txt"}, {Reply::Ok}},
     {kAlreadyOpen}},
    {"OpenAPathWithALineFeed",
     Arrange::AlphaEdited,
     Open,
     {{Reply::OpenFile, "line\nfeed.txt"}, {Reply::Ok}},
     {kLineBreak}},
    {"OpenCancelled", Arrange::AlphaEdited, Open, {{Reply::Cancel}}, {}},
    {"NewAtAPathWithALineFeed",
     Arrange::AlphaEdited,
     New,
     {{Reply::SaveFile, "line\nfeed.txt"}, {Reply::Ok}},
     {kLineBreak}},
    {"NewAtAPathWithACarriageReturn",
     Arrange::AlphaEdited,
     New,
     {{Reply::SaveFile, "carriage\rreturn.txt"}, {Reply::Ok}},
     {kLineBreak}},
    {"NewCancelledSavesNothing", Arrange::AlphaEdited, New, {{Reply::Cancel}}, {}},
    {"CopyWithoutDocument",
     Arrange::NoDocument,
     Copy,
     {{Reply::Ok}},
     {{"没有可保存的文件", "警告：", MessageStyle::Warning}}},
    {"CopyOfAMissingFile",
     Arrange::AlphaFileGone,
     Copy,
     {{Reply::SaveFile, "copy.txt"}, {Reply::Ok}},
     {{"保存文件失败", "错误：", MessageStyle::Warning}}},
    {"CopyCancelled", Arrange::AlphaEdited, Copy, {{Reply::Cancel}}, {}},
    {"DeleteWithNothingSelected",
     Arrange::NothingSelected,
     Delete,
     {{Reply::Ok}},
     {{"请在标签列表框选择要删除的文件", "提示：", MessageStyle::Information}}},
    {"DeleteAnsweredNo", Arrange::AlphaEdited, Delete, {{Reply::No}}, {kConfirmAlpha}},
    {"DeleteAMissingFile",
     Arrange::AlphaFileGone,
     Delete,
     {{Reply::Yes}, {Reply::Ok}},
     {kConfirmAlpha, {"删除文件失败", "错误：", MessageStyle::Warning}}},
    {"BackupWithoutDocument", Arrange::NoDocument, Backup, {}, {}},
    {"BackupOntoAFolder",
     Arrange::BackupPathTaken,
     Backup,
     {{Reply::Ok}},
     {{"备份失败", "信息：", MessageStyle::Warning}}},
    {"RestoreWithoutDocument", Arrange::NoDocument, RestoreStartup, {}, {}},
    {"RestoreManualWithoutDocument", Arrange::NoDocument, RestoreManual, {}, {}},
    {"RestoreAMissingBackup",
     Arrange::AlphaEdited,
     RestoreManual,
     {{Reply::Ok}},
     {{"找不到备份文件", "信息：", MessageStyle::Warning}}},
    {"RestoreOntoAFolder",
     Arrange::AlphaPathIsFolder,
     RestoreManual,
     {{Reply::Ok}},
     {{"还原失败", "信息：", MessageStyle::Warning}}},
};

class MessageTableTest : public DocumentCommandsTest,
                         public ::testing::WithParamInterface<MessageCase> {
protected:
    void ArrangeFor(Arrange arrange) {
        switch (arrange) {
        case Arrange::NoDocument:
            Register({alpha_, beta_});
            workspace_.BuildTree();
            break;
        case Arrange::NothingSelected:
            Register({alpha_, beta_});
            workspace_.SetCurrentDocument(alpha_);
            WriteSettingValue(store::kCurrentLabelSetting, "not a label");
            workspace_.BuildTree();
            break;
        case Arrange::AlphaLabel:
            StartInAlpha();
            break;
        case Arrange::AlphaEdited:
            StartInAlpha();
            TypeIntoEditBox("X");
            ASSERT_TRUE(Edited());
            break;
        case Arrange::AlphaFileGone:
            StartInAlpha();
            std::filesystem::remove(alpha_);
            break;
        case Arrange::BetaNodeRemoved:
            StartInAlpha();
            workspace_.DeleteNodeWithoutWriteBack(3, Workspace::PendingEdit::Save);
            ASSERT_EQ(tree_.Count(), 3);
            break;
        case Arrange::BackupPathTaken:
            StartInAlpha();
            std::filesystem::create_directory(PathOf("手备_alpha.txt"));
            break;
        case Arrange::AlphaPathIsFolder:
            StartInAlpha();
            WriteBytes(PathOf("手备_alpha.txt"), DocumentBytes({{"a", "backed up"}}));
            std::filesystem::remove(alpha_);
            std::filesystem::create_directory(alpha_);
            break;
        }
        captions_.clear();
    }

    void Queue(const std::vector<Answer>& answers) {
        for (const Answer& answer : answers) {
            switch (answer.reply) {
            case Reply::OpenFile:
                dialogs_.ExpectOpenFile(PathOf(answer.fileName));
                break;
            case Reply::SaveFile:
                dialogs_.ExpectSaveFile(PathOf(answer.fileName));
                break;
            case Reply::Cancel:
                dialogs_.ExpectCancel();
                break;
            case Reply::Yes:
                dialogs_.ExpectMessage(ui::MessageAnswer::Yes);
                break;
            case Reply::No:
                dialogs_.ExpectMessage(ui::MessageAnswer::No);
                break;
            case Reply::Ok:
                dialogs_.ExpectMessage(ui::MessageAnswer::Ok);
                break;
            }
        }
    }

    Text Filled(const char* pattern) const {
        Text text = pattern;
        const std::string_view token = "{alpha}";
        if (const std::size_t at = text.find(token); at != Text::npos) {
            text.replace(at, token.size(), alpha_);
        }
        return text;
    }
};

TEST_P(MessageTableTest, StopsWithItsMessagesAndChangesNothing) {
    const MessageCase& c = GetParam();
    ArrangeFor(c.arrange);
    const std::map<std::string, Text> files = Files();
    const std::vector<Text> tree = TreeDump();
    const int selection = tree_.Selection();
    const std::vector<Text> documents = workspace_.DocumentList();
    const Text document = workspace_.CurrentDocument();
    const Text label = workspace_.CurrentLabel();
    const Text box = editBox_.ReadText();
    const bool edited = Edited();
    Queue(c.answers);

    c.run(commands_);

    const std::vector<ShownDialog> shown = Messages();
    ASSERT_EQ(shown.size(), c.messages.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, Filled(c.messages[i].text)) << i;
        EXPECT_EQ(shown[i].title, c.messages[i].title) << i;
        EXPECT_EQ(shown[i].style, c.messages[i].style) << i;
    }
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(tree_.Selection(), selection);
    EXPECT_EQ(workspace_.DocumentList(), documents);
    EXPECT_EQ(workspace_.CurrentDocument(), document);
    EXPECT_EQ(workspace_.CurrentLabel(), label);
    EXPECT_EQ(editBox_.ReadText(), box);
    EXPECT_EQ(Edited(), edited);
    EXPECT_TRUE(captions_.empty());
}

INSTANTIATE_TEST_SUITE_P(DocumentCommands, MessageTableTest, ::testing::ValuesIn(kMessageCases),
                         CaseName());

} // namespace
} // namespace quorvel::workspace::testing
