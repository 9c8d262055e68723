#pragma once

#include "ui/Dialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Dialogs for tests: every dialog shown is recorded, and each is answered from a queue of
// expected answers filled beforehand:
//
//     ScriptedDialogs dialogs;
//     dialogs.ExpectMessage(ui::MessageAnswer::Yes);
//     dialogs.ExpectText("new name");
//     dialogs.ExpectCancel();                 // the next input box or file dialog
//     dialogs.ExpectOpenFile("/tmp/a.txt");
//     ... run the command ...
//     EXPECT_EQ(dialogs.Shown().at(0).text, "...");
//
// A dialog with no answer queued, or of another kind than the next answer, fails the test and is
// answered No or Cancel. Answers still queued when the object goes fail the test too.
namespace quorvel::testing {

enum class DialogKind { Message, Text, OpenFile, SaveFile };

inline const char* DialogKindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Message:
        return "message box";
    case DialogKind::Text:
        return "input box";
    case DialogKind::OpenFile:
        return "open-file dialog";
    case DialogKind::SaveFile:
        return "save-file dialog";
    }
    return "dialog";
}

// One dialog as it was shown. text is the message or the prompt; for file dialogs title is the
// caption and startDirectory where it opened.
struct ShownDialog {
    DialogKind kind = DialogKind::Message;
    Text text;
    Text title;
    ui::MessageStyle style = ui::MessageStyle::Plain;
    Text initialText;
    std::string startDirectory;
};

inline std::ostream& operator<<(std::ostream& out, const ShownDialog& shown) {
    out << DialogKindName(shown.kind);
    if (shown.kind == DialogKind::Message) {
        out << " \"" << shown.text << "\" titled \"" << shown.title << "\", style "
            << static_cast<int>(shown.style);
    } else if (shown.kind == DialogKind::Text) {
        out << " \"" << shown.text << "\" with \"" << shown.initialText << "\"";
    } else {
        out << " \"" << shown.title << "\" in \"" << shown.startDirectory << "\"";
    }
    return out;
}

class ScriptedDialogs final : public ui::Dialogs {
public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    ~ScriptedDialogs() override {
        if (!answers_.empty()) {
            ADD_FAILURE() << answers_.size() << " expected dialog(s) never shown, the first: "
                          << DescribeAnswer(answers_.front());
        }
    }

    void ExpectMessage(ui::MessageAnswer answer) {
        answers_.push_back({DialogKind::Message, answer, {}});
    }
    void ExpectText(const Text& entered) { answers_.push_back({DialogKind::Text, {}, entered}); }
    void ExpectOpenFile(const std::string& path) {
        answers_.push_back({DialogKind::OpenFile, {}, path});
    }
    void ExpectSaveFile(const std::string& path) {
        answers_.push_back({DialogKind::SaveFile, {}, path});
    }
    // The next input box or file dialog, whichever it is, is cancelled.
    void ExpectCancel() { answers_.push_back({std::nullopt, {}, {}}); }

    const std::vector<ShownDialog>& Shown() const { return shown_; }
    std::size_t PendingAnswers() const { return answers_.size(); }

    ui::MessageAnswer ShowMessage(const Text& text, const Text& title,
                                  ui::MessageStyle style) override {
        shown_.push_back({DialogKind::Message, text, title, style, {}, {}});
        const std::optional<Answer> answer = Take(DialogKind::Message);
        return answer ? answer->message : ui::MessageAnswer::No;
    }

    std::optional<Text> AskText(const Text& prompt, const Text& initialText) override {
        shown_.push_back({DialogKind::Text, prompt, {}, ui::MessageStyle::Plain, initialText, {}});
        return Entered(Take(DialogKind::Text));
    }

    std::optional<std::string> AskOpenFile(const Text& title,
                                           const std::string& startDirectory) override {
        shown_.push_back(
            {DialogKind::OpenFile, {}, title, ui::MessageStyle::Plain, {}, startDirectory});
        return Entered(Take(DialogKind::OpenFile));
    }

    std::optional<std::string> AskSaveFile(const Text& title,
                                           const std::string& startDirectory) override {
        shown_.push_back(
            {DialogKind::SaveFile, {}, title, ui::MessageStyle::Plain, {}, startDirectory});
        return Entered(Take(DialogKind::SaveFile));
    }

private:
    // kind nullopt: a Cancel for any input box or file dialog.
    struct Answer {
        std::optional<DialogKind> kind;
        ui::MessageAnswer message = ui::MessageAnswer::No;
        std::string entered;
    };

    static std::string DescribeAnswer(const Answer& answer) {
        if (!answer.kind) {
            return "cancelled input box or file dialog";
        }
        if (*answer.kind == DialogKind::Message) {
            return "message box";
        }
        return std::string(DialogKindName(*answer.kind)) + " answered \"" + answer.entered + "\"";
    }

    static std::optional<std::string> Entered(const std::optional<Answer>& answer) {
        if (!answer || !answer->kind) {
            return std::nullopt;
        }
        return answer->entered;
    }

    // The next answer when it fits the dialog just shown; a test failure otherwise. A queued
    // answer of the wrong kind is used up, so one mistake is reported once.
    std::optional<Answer> Take(DialogKind kind) {
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected " << shown_.back();
            return std::nullopt;
        }
        Answer answer = answers_.front();
        answers_.pop_front();
        const bool fits = answer.kind ? *answer.kind == kind : kind != DialogKind::Message;
        if (!fits) {
            ADD_FAILURE() << "expected " << DescribeAnswer(answer) << ", shown: " << shown_.back();
            return std::nullopt;
        }
        return answer;
    }

    std::deque<Answer> answers_;
    std::vector<ShownDialog> shown_;
};

} // namespace quorvel::testing
