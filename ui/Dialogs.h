#pragma once

#include "text/CodePage.h"

#include <optional>
#include <string>

// Every dialog the program shows goes through this interface, so that tests can replace it with a
// scripted one that records what was shown and answers from a queue. Texts are bytes in the
// active code page; paths are file-system bytes.
namespace quorvel::ui {

enum class MessageStyle {
    Plain = 0, // OK button, no icon
    Warning = 48,
    Information = 64,
    YesNoCancelQuestion = 35,
    YesNoQuestion = 36,
};

enum class MessageAnswer { Ok, Yes, No, Cancel };

// The title of a message box that has none of its own: "信息：".
const Text& DefaultMessageTitle();

// An interface; it owns nothing. The main window owns the Qt implementation (or borrows a
// test's scripted one), and the commands only use it.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer ShowMessage(const Text& text, const Text& title, MessageStyle style) = 0;
    // The entered line, or nothing on Cancel.
    virtual std::optional<Text> AskText(const Text& prompt, const Text& initialText) = 0;
    // File dialogs with the filter "文本文件(*.txt)" and the default suffix "txt", opened in
    // startDirectory when it is not empty; the save dialog confirms replacing a file.
    virtual std::optional<std::string> AskOpenFile(const Text& title,
                                                   const std::string& startDirectory) = 0;
    virtual std::optional<std::string> AskSaveFile(const Text& title,
                                                   const std::string& startDirectory) = 0;
};

} // namespace quorvel::ui
