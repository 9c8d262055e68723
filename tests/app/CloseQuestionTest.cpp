// Closing the window never drops typed text without a word: text that belongs to no label is
// asked about, and a save that fails asks whether to close anyway.
#include "MainWindowFixture.h"
#include "support/CaseName.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"

#include <QPlainTextEdit>
#include <QTest>
#include <sys/stat.h>

namespace quorvel::app::testing {
namespace {

using quorvel::testing::CaseName;
using ui::MessageAnswer;

constexpr std::string_view kSettings =
    "[配置]\r\n当前文件={dir}/a.txt\r\n当前标签=x\r\n[文件]\r\n1={dir}/a.txt\r\n";
constexpr std::string_view kDocument = "[#x]\r\none\r\n[#y]\r\ntwo";

enum class Arrange {
    DocumentNode, // the document node selected, then text typed: it belongs to no label
    FailingSave,  // label x current, text typed, the file made read-only
};

struct CloseCase {
    const char* name;
    Arrange arrange;
    std::vector<MessageAnswer> answers;
    bool closes;
    std::string documentAfter;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

const CloseCase kCloseCases[] = {
    {"NoLabelCancelKeepsTheWindow",
     Arrange::DocumentNode,
     {MessageAnswer::Cancel},
     false,
     std::string(kDocument)},
    {"NoLabelNoCloses", Arrange::DocumentNode, {MessageAnswer::No}, true, std::string(kDocument)},
    {"FailedSaveThenNoKeepsTheWindow",
     Arrange::FailingSave,
     {MessageAnswer::Ok, MessageAnswer::No},
     false,
     std::string(kDocument)},
    {"FailedSaveThenYesCloses",
     Arrange::FailingSave,
     {MessageAnswer::Ok, MessageAnswer::Yes},
     true,
     std::string(kDocument)},
};

class CloseQuestionTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestionTest, AsksBeforeTypedTextIsLost) {
    const CloseCase& c = GetParam();
    const std::string document = WriteFile("a.txt", kDocument);
    WriteSettings(InDir(kSettings, Dir()));
    Start();
    ShowActive();
    if (c.arrange == Arrange::DocumentNode) {
        Window().tree().Select(0);
    }
    QWidget* box = Window().editBox().widget();
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(box, QStringLiteral("typed "));
    if (c.arrange == Arrange::FailingSave) {
        ASSERT_EQ(::chmod(document.c_str(), 0444), 0);
    }
    for (MessageAnswer answer : c.answers) {
        dialogs_.ExpectMessage(answer);
    }

    EXPECT_EQ(Window().close(), c.closes);

    EXPECT_EQ(Window().isVisible(), !c.closes);
    EXPECT_EQ(Window().editBox().ReadText(), "typed one");
    EXPECT_EQ(quorvel::testing::ReadBytes(document), c.documentAfter);
    ASSERT_EQ(dialogs_.Shown().size(), c.answers.size());
    if (c.arrange == Arrange::FailingSave) {
        EXPECT_EQ(dialogs_.Shown()[0].text.rfind("保存失败：" + document + "\n", 0), 0u);
        EXPECT_EQ(dialogs_.Shown()[1].text, "编辑框的内容没有保存，关闭后将会丢失。仍要关闭吗？");
    } else {
        EXPECT_EQ(dialogs_.Shown()[0].text, "当前内容没有保存到任何标签。要保存为新标签吗？");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseQuestionTest, ::testing::ValuesIn(kCloseCases), CaseName());

} // namespace
} // namespace quorvel::app::testing
