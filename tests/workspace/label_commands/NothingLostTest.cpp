// Text in the edit box is never dropped without a word: text that belongs to no label is offered
// a label of its own before anything replaces it, a save that cannot be written says so and keeps
// the text, and labels that reach a file by a command appear in the tree at once.
#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <QTest>
#include <QTreeWidget>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;
using ui::MessageAnswer;

const Text kUnsavedQuestion = "message|当前内容没有保存到任何标签。要保存为新标签吗？|提示：|35";
const Text kNamePrompt = "ask|输入此信息的标签名称：|";

// Nodes after Start: 0 alpha, 1 a, 2 b; 3 beta, 4 x. The user selects alpha's document node,
// types a note, then selects b.
struct LeaveCase {
    const char* name;
    std::vector<MessageAnswer> answers; // to the question, then to what the save says
    std::optional<Text> labelName;      // typed into the name prompt; nullopt: no prompt
    Text alphaAfter;
    std::vector<Text> dialogs;
    Text box;
    Text label;
    int selection;
};

void PrintTo(const LeaveCase& c, std::ostream* os) {
    *os << c.name;
}

const Text kAlphaWithNote =
    DocumentBytes({{"a", "one"}, {"b", "two"}}) + "\r\n[#note]\r\nwritten\r\n";

const LeaveCase kLeaveCases[] = {
    {"YesSavesItUnderTheNameThenLoads",
     {MessageAnswer::Yes},
     "note",
     kAlphaWithNote,
     {kUnsavedQuestion, kNamePrompt},
     "two",
     "b",
     2},
    {"NoDropsItAndLoads",
     {MessageAnswer::No},
     std::nullopt,
     DocumentBytes({{"a", "one"}, {"b", "two"}}),
     {kUnsavedQuestion},
     "two",
     "b",
     2},
    {"CancelKeepsItAndTheSelection",
     {MessageAnswer::Cancel},
     std::nullopt,
     DocumentBytes({{"a", "one"}, {"b", "two"}}),
     {kUnsavedQuestion},
     "written",
     "",
     0},
    {"YesThenNoNameKeepsIt",
     {MessageAnswer::Yes},
     "",
     DocumentBytes({{"a", "one"}, {"b", "two"}}),
     {kUnsavedQuestion, kNamePrompt},
     "written",
     "",
     0},
    {"YesWithAnExistingNameKeepsIt",
     {MessageAnswer::Yes, MessageAnswer::Ok},
     "a",
     DocumentBytes({{"a", "one"}, {"b", "two"}}),
     {kUnsavedQuestion, kNamePrompt, "message|标签已经存在，请重新输入|信息：|0"},
     "written",
     "",
     0},
};

class LeaveUnlabelledText : public LabelCommandsTest,
                            public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveUnlabelledText, AsksBeforeTheTextGoes) {
    const LeaveCase& c = GetParam();
    Start(0);
    EmptyEditBox();
    TypeIntoEditBox("written");
    dialogs_.ExpectMessage(c.answers.front());
    if (c.labelName) {
        dialogs_.ExpectText(*c.labelName);
    }
    for (std::size_t i = 1; i < c.answers.size(); ++i) {
        dialogs_.ExpectMessage(c.answers[i]); // to what the save says afterwards
    }

    tree_.Select(2);

    EXPECT_EQ(DialogLog(), c.dialogs);
    EXPECT_EQ(Alpha(), c.alphaAfter);
    EXPECT_EQ(editBox_.ReadText(), c.box);
    EXPECT_EQ(workspace_.CurrentLabel(), c.label);
    EXPECT_EQ(tree_.Selection(), c.selection);
    if (c.selection == 0) {
        EXPECT_TRUE(Edited()); // still pending: the next leave asks again
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, LeaveUnlabelledText, ::testing::ValuesIn(kLeaveCases),
                         CaseName());

TEST_F(LabelCommandsTest, SavedNoteAppearsUnderItsDocumentAndCanBeLoaded) {
    Start(0);
    EmptyEditBox();
    TypeIntoEditBox("written");
    dialogs_.ExpectMessage(MessageAnswer::Yes);
    dialogs_.ExpectText("note");

    tree_.Select(4);

    EXPECT_EQ(TreeDump(), (std::vector<Text>{"1|alpha|1|2", "2|a|1|12", "2|b|1|12", "2|note|1|12",
                                             "1|beta|2|2", "2|x|2|12"}));
    EXPECT_EQ(tree_.Selection(), 5); // x, one further down
    EXPECT_EQ(editBox_.ReadText(), "ex");
    tree_.Select(3);
    EXPECT_EQ(editBox_.ReadText(), "written\r\n"); // the last section's text takes the break
}

TEST_F(LabelCommandsTest, PressOnTheStillHighlightedLabelAfterTheWholeFileLoadsIt) {
    Start(2);
    commands_.ShowWholeDocument();
    ASSERT_EQ(tree_.Selection(), 2);
    ShowWindow();

    QTest::mouseClick(tree_.widget()->viewport(), Qt::LeftButton, {}, NodeCentre(2));

    EXPECT_EQ(editBox_.ReadText(), "two");
    EXPECT_EQ(workspace_.CurrentLabel(), "b");
    EXPECT_EQ(tree_.Selection(), 2);
}

// A document whose writes fail in two ways: a file without write bits, and a folder gone.
enum class Failure { ReadOnlyFile, FolderGone };

struct FailureCase {
    const char* name;
    Failure failure;
    int error; // the reason the message gives
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

const FailureCase kFailureCases[] = {
    {"ReadOnlyFile", Failure::ReadOnlyFile, EACCES},
    {"FolderGone", Failure::FolderGone, ENOENT},
};

class FailedSave : public LabelCommandsTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    // gamma.txt in a folder of its own, registered after alpha and beta: nodes 5 gamma, 6 g.
    void SetUp() override {
        LabelCommandsTest::SetUp();
        std::filesystem::create_directory(dir_.File("sub"));
        gamma_ = WriteDocument("sub/gamma.txt", {{"g", "gee"}});
        Register({gamma_});
    }

    void Break() {
        if (GetParam().failure == Failure::ReadOnlyFile) {
            ASSERT_EQ(::chmod(gamma_.c_str(), 0444), 0);
        } else {
            std::filesystem::remove_all(dir_.File("sub"));
        }
    }

    Text Report() const {
        return "message|保存失败：" + gamma_ + "\n" + std::strerror(GetParam().error) +
               "|错误：|48";
    }

    Text gamma_;
};

TEST_P(FailedSave, OnASelectionChangeKeepsTheTextAndTheSelection) {
    Start(6);
    TypeIntoEditBox("typed ");
    Break();
    dialogs_.ExpectMessage(MessageAnswer::Ok);

    tree_.Select(1);

    EXPECT_EQ(DialogLog(), std::vector<Text>{Report()});
    EXPECT_EQ(tree_.Selection(), 6);
    EXPECT_EQ(editBox_.ReadText(), "typed gee");
    EXPECT_EQ(workspace_.CurrentLabel(), "g");
    EXPECT_TRUE(Edited());
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedSave, ::testing::ValuesIn(kFailureCases), CaseName());

TEST_F(LabelCommandsTest, FailedSaveLabelIsReported) {
    Start(1);
    TypeIntoEditBox("X");
    ASSERT_EQ(::chmod(alpha_.c_str(), 0444), 0);
    dialogs_.ExpectMessage(MessageAnswer::Ok);

    commands_.SaveLabel();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"message|保存失败：" + alpha_ + "\n" +
                                             std::strerror(EACCES) + "|错误：|48"});
    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_EQ(editBox_.ReadText(), "Xone");
}

TEST_F(LabelCommandsTest, FailedSaveIsRetriedOnTheNextLeave) {
    Start(1);
    TypeIntoEditBox("X");
    ASSERT_EQ(::chmod(alpha_.c_str(), 0444), 0);
    dialogs_.ExpectMessage(MessageAnswer::Ok);
    tree_.Select(2);
    ASSERT_EQ(tree_.Selection(), 1);

    ASSERT_EQ(::chmod(alpha_.c_str(), 0644), 0);
    tree_.Select(2);

    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_EQ(editBox_.ReadText(), "two");
}

TEST_F(LabelCommandsTest, RenameToANameTheDocumentHoldsIsRefused) {
    Start(1);
    const std::vector<Text> before = Snapshot();
    dialogs_.ExpectText("b");
    dialogs_.ExpectMessage(MessageAnswer::Ok);

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(), (std::vector<Text>{"ask|输入新标签名称：|a",
                                              "message|标签已经存在，请重新输入|信息：|0"}));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LabelCommandsTest, SaveLabelToDocumentOverAnExistingLabelAddsNoNode) {
    Start(1);
    const std::vector<Text> tree = TreeDump();
    dialogs_.ExpectSaveFile(beta_);
    dialogs_.ExpectText("x");

    commands_.SaveLabelToDocument();

    EXPECT_EQ(Beta(), DocumentBytes({{"x", "one"}}));
    EXPECT_EQ(TreeDump(), tree);
}

} // namespace
} // namespace quorvel::workspace::testing
