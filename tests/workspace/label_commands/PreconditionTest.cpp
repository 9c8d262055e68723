#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <cstdio>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

enum class Setup {
    NoDocument,      // nothing built: no node, no CurrentDocument, an empty edit box
    MissingFile,     // alpha's node selected while its file is gone, an empty edit box
    NothingSelected, // label a loaded, then the selection cleared
};

struct PreconditionCase {
    const char* name;
    Setup setup;
    Command command;
    Text message; // "message|text|title|style"
};

void PrintTo(const PreconditionCase& c, std::ostream* os) {
    *os << c.name;
}

const PreconditionCase kPreconditionCases[] = {
    // A missing file turns NewLabel into SaveLabelToDocument, which has no text to save.
    {"NewLabelWithoutFile", Setup::MissingFile, &LabelCommands::NewLabel,
     "message|没有可保存的文本|警告|48"},
    {"SaveLabelWithoutDocument", Setup::NoDocument, &LabelCommands::SaveLabel,
     "message|请新建文档后再保存标签信息|错误：|48"},
    {"SaveLabelWithoutFile", Setup::MissingFile, &LabelCommands::SaveLabel,
     "message|请新建文档后再保存标签信息|错误：|48"},
    {"SaveLabelToDocumentWithoutText", Setup::NoDocument, &LabelCommands::SaveLabelToDocument,
     "message|没有可保存的文本|警告|48"},
    {"RenameNodeWithoutSelection", Setup::NothingSelected, &LabelCommands::RenameNode,
     "message|请选择要重命名的标签|信息：|0"},
    {"DeleteNodeWithoutSelection", Setup::NothingSelected, &LabelCommands::DeleteNode,
     "message|请选择欲删除标签|提示：|64"},
    {"ShowWholeDocumentWithoutDocument", Setup::NoDocument, &LabelCommands::ShowWholeDocument,
     "message|文件不存在|信息：|48"},
    {"ShowWholeDocumentWithoutFile", Setup::MissingFile, &LabelCommands::ShowWholeDocument,
     "message|文件不存在|信息：|48"},
};

class PreconditionTest : public LabelCommandsTest,
                         public ::testing::WithParamInterface<PreconditionCase> {};

TEST_P(PreconditionTest, ShowsItsMessageAndChangesNothing) {
    const PreconditionCase& c = GetParam();
    switch (c.setup) {
    case Setup::NoDocument:
        break;
    case Setup::MissingFile:
        Start(0);
        ASSERT_EQ(std::remove(alpha_.c_str()), 0);
        break;
    case Setup::NothingSelected:
        Start(1);
        tree_.Select(ui::kNoNode);
        break;
    }
    const std::vector<Text> before = Snapshot();
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    (commands_.*c.command)();

    EXPECT_EQ(DialogLog(), std::vector<Text>{c.message});
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreconditionTest, ::testing::ValuesIn(kPreconditionCases),
                         CaseName());

// Every prompt the commands show, each cancelled (or answered No) while an edit of label a is
// pending: nothing changes, the pending edit included (NewLabel auto-saves only once named).
struct CancelCase {
    const char* name;
    int select;
    Command command;
    std::vector<Text> answers; // "cancel", "no", or a file chosen / a name entered before them
    std::vector<Text> dialogs;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
    *os << c.name;
}

const Text kChosen = "chosen.txt"; // a file in the documents' directory

const CancelCase kCancelCases[] = {
    {"NewLabel", 1, &LabelCommands::NewLabel, {"cancel"}, {"ask|输入新标签：|"}},
    {"SaveLabelAskingForAName",
     0,
     &LabelCommands::SaveLabel,
     {"cancel"},
     {"ask|输入此信息的标签名称：|"}},
    {"SaveLabelGivenNoName", 0, &LabelCommands::SaveLabel, {""}, {"ask|输入此信息的标签名称：|"}},
    {"SaveLabelToDocumentAtTheFile",
     1,
     &LabelCommands::SaveLabelToDocument,
     {"cancel"},
     {"save|另存标签|<folder>"}},
    {"SaveLabelToDocumentAtTheName",
     1,
     &LabelCommands::SaveLabelToDocument,
     {kChosen, "cancel"},
     {"save|另存标签|<folder>", "ask|输入此信息标签名称：|a"}},
    {"SaveLabelToDocumentGivenNoName",
     1,
     &LabelCommands::SaveLabelToDocument,
     {kChosen, ""},
     {"save|另存标签|<folder>", "ask|输入此信息标签名称：|a"}},
    {"RenameLabel", 1, &LabelCommands::RenameNode, {"cancel"}, {"ask|输入新标签名称：|a"}},
    {"RenameDocument", 0, &LabelCommands::RenameNode, {"cancel"}, {"ask|输入新文件名：|alpha"}},
    {"DeleteLabel",
     1,
     &LabelCommands::DeleteNode,
     {"no"},
     {"message|确定删除标签“a”吗？|信息：|36"}},
    {"DeleteDocumentNode",
     0,
     &LabelCommands::DeleteNode,
     {"no"},
     {"message|确定删除分类“alpha”吗？|信息：|36"}},
};

class CancelTest : public LabelCommandsTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, ChangesNothing) {
    const CancelCase& c = GetParam();
    Start(c.select);
    TypeIntoEditBox("X");
    const std::vector<Text> before = Snapshot();
    for (const Text& answer : c.answers) {
        if (answer == "cancel") {
            dialogs_.ExpectCancel();
        } else if (answer == "no") {
            dialogs_.ExpectMessage(ui::MessageAnswer::No);
        } else if (answer == kChosen) {
            dialogs_.ExpectSaveFile(PathOf(kChosen));
        } else {
            dialogs_.ExpectText(answer);
        }
    }

    (commands_.*c.command)();

    std::vector<Text> expected = c.dialogs;
    for (Text& line : expected) {
        if (line.ends_with("<folder>")) {
            line = line.substr(0, line.size() - 8) + Folder();
        }
    }
    EXPECT_EQ(DialogLog(), expected);
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelTest, ::testing::ValuesIn(kCancelCases), CaseName());

} // namespace
} // namespace quorvel::workspace::testing
