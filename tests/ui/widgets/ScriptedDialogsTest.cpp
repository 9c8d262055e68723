#include "support/ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace quorvel::testing {
namespace {

using ui::MessageAnswer;
using ui::MessageStyle;

TEST(ScriptedDialogs, AnswersFromTheQueueAndRecordsWhatWasShown) {
    ScriptedDialogs dialogs;
    dialogs.ExpectMessage(MessageAnswer::Yes);
    dialogs.ExpectText("new name");
    dialogs.ExpectCancel();
    dialogs.ExpectOpenFile("/tmp/a.txt");
    dialogs.ExpectSaveFile("/tmp/b.txt");
    dialogs.ExpectCancel();

    EXPECT_EQ(dialogs.ShowMessage("delete?", "title", MessageStyle::YesNoQuestion),
              MessageAnswer::Yes);
    EXPECT_EQ(dialogs.AskText("name:", "old"), std::optional<Text>("new name"));
    EXPECT_EQ(dialogs.AskText("again:", ""), std::nullopt);
    EXPECT_EQ(dialogs.AskOpenFile("open", "/home"), std::optional<std::string>("/tmp/a.txt"));
    EXPECT_EQ(dialogs.AskSaveFile("save", ""), std::optional<std::string>("/tmp/b.txt"));
    EXPECT_EQ(dialogs.AskSaveFile("save", "/srv"), std::nullopt);
    EXPECT_EQ(dialogs.PendingAnswers(), 0U);

    const std::vector<ShownDialog>& shown = dialogs.Shown();
    ASSERT_EQ(shown.size(), 6U);
    EXPECT_EQ(shown[0].kind, DialogKind::Message);
    EXPECT_EQ(shown[0].text, "delete?");
    EXPECT_EQ(shown[0].title, "title");
    EXPECT_EQ(shown[0].style, MessageStyle::YesNoQuestion);
    EXPECT_EQ(shown[1].kind, DialogKind::Text);
    EXPECT_EQ(shown[1].text, "name:");
    EXPECT_EQ(shown[1].initialText, "old");
    EXPECT_EQ(shown[3].kind, DialogKind::OpenFile);
    EXPECT_EQ(shown[3].title, "open");
    EXPECT_EQ(shown[3].startDirectory, "/home");
    EXPECT_EQ(shown[5].kind, DialogKind::SaveFile);
    EXPECT_EQ(shown[5].startDirectory, "/srv");
}

TEST(ScriptedDialogs, ADialogWithNoAnswerQueuedFailsAndIsAnsweredNo) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            EXPECT_EQ(dialogs.ShowMessage("surprise", "t", MessageStyle::YesNoQuestion),
                      MessageAnswer::No);
        },
        "unexpected message box \"surprise\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            EXPECT_EQ(dialogs.AskText("prompt", "x"), std::nullopt);
        },
        "unexpected input box \"prompt\"");
}

TEST(ScriptedDialogs, ADialogOfAnotherKindFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.ExpectText("name");
            EXPECT_EQ(dialogs.ShowMessage("oops", "t", MessageStyle::Warning), MessageAnswer::No);
        },
        "expected input box answered \"name\", shown: message box \"oops\"");
    // A cancel fits any input box or file dialog, but not a message box.
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.ExpectCancel();
            dialogs.ShowMessage("oops", "t", MessageStyle::Plain);
        },
        "expected cancelled input box or file dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.ExpectOpenFile("/a.txt");
            EXPECT_EQ(dialogs.AskSaveFile("save", ""), std::nullopt);
        },
        "shown: save-file dialog");
}

TEST(ScriptedDialogs, AnAnswerNeverUsedFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.ExpectMessage(MessageAnswer::Yes);
            dialogs.ExpectCancel();
        },
        "2 expected dialog(s) never shown, the first: message box");
}

} // namespace
} // namespace quorvel::testing
