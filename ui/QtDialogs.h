#pragma once

#include "ui/Dialogs.h"

class QWidget;

namespace quorvel::ui {

// The dialogs on Qt's message box, input dialog and file dialogs. Owns nothing: each dialog lives
// for one call, over the parent window it only uses. Owned by the main window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    MessageAnswer ShowMessage(const Text& text, const Text& title, MessageStyle style) override;
    std::optional<Text> AskText(const Text& prompt, const Text& initialText) override;
    std::optional<std::string> AskOpenFile(const Text& title,
                                           const std::string& startDirectory) override;
    std::optional<std::string> AskSaveFile(const Text& title,
                                           const std::string& startDirectory) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace quorvel::ui
