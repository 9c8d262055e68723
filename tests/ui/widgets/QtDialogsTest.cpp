#include "ui/QtDialogs.h"

#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace quorvel::ui {
namespace {

// Handles the modal dialogs as they come up, one handler each, in order. A handler may itself
// open a nested modal dialog (accepting a save dialog that asks about replacing a file).
class ModalScript {
public:
    explicit ModalScript(std::deque<std::function<void(QWidget*)>> handlers)
        : handlers_(std::move(handlers)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(5);
    }
    ~ModalScript() { EXPECT_TRUE(handlers_.empty()) << handlers_.size() << " dialogs not shown"; }

private:
    void Tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        for (const QPointer<QWidget>& seen : handled_) {
            if (seen == modal) {
                // A dialog its handler did not close would block the run: a watchdog, not a
                // measurement.
                if (++ticksSinceHandled_ > 1000) {
                    ADD_FAILURE() << "a " << modal->metaObject()->className() << " stayed open";
                    modal->close();
                }
                return;
            }
        }
        if (handlers_.empty()) {
            return;
        }
        ticksSinceHandled_ = 0;
        handled_.emplace_back(modal);
        // Run outside this timer's slot: Qt does not fire a timer again while its slot runs,
        // and a handler may block in a nested dialog that the next tick has to find.
        QTimer::singleShot(0, modal,
                           [handler = std::move(handlers_.front()), modal] { handler(modal); });
        handlers_.pop_front();
    }

    std::deque<std::function<void(QWidget*)>> handlers_;
    std::vector<QPointer<QWidget>> handled_;
    int ticksSinceHandled_ = 0;
    QTimer timer_;
};

// The dialog as the type a handler expects; anything else fails and is closed, so that the test
// goes on.
template <typename Dialog> Dialog* As(QWidget* widget) {
    auto* dialog = qobject_cast<Dialog*>(widget);
    if (dialog == nullptr) {
        ADD_FAILURE() << "unexpected modal " << widget->metaObject()->className();
        widget->close();
    }
    return dialog;
}

// Types a name into the file dialog's name line, as the user would; selectFile leaves the line
// alone while it has the focus.
void TypeFileName(QFileDialog* dialog, const char* name) {
    auto* line = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(line, nullptr);
    line->setText(QString::fromUtf8(name));
}

struct MessageCase {
    MessageStyle style;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton clicked;
    MessageAnswer answer;
};

TEST(QtDialogs, MessageBoxesShowTheIconAndButtonsOfTheirStyle) {
    const std::vector<MessageCase> cases{
        {MessageStyle::Plain, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageStyle::Warning, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageStyle::Information, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok,
         MessageAnswer::Ok},
        {MessageStyle::YesNoQuestion, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Yes, MessageAnswer::Yes},
        {MessageStyle::YesNoQuestion, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::No, MessageAnswer::No},
    };
    QtDialogs dialogs(nullptr);
    for (const MessageCase& messageCase : cases) {
        SCOPED_TRACE(static_cast<int>(messageCase.style));
        ModalScript script({[&](QWidget* widget) {
            auto* box = As<QMessageBox>(widget);
            if (box == nullptr) {
                return;
            }
            EXPECT_EQ(box->text(), QStringLiteral("文件不存在"));
            EXPECT_EQ(box->windowTitle(), QStringLiteral("信息："));
            EXPECT_EQ(box->icon(), messageCase.icon);
            EXPECT_EQ(box->standardButtons(), messageCase.buttons);
            box->button(messageCase.clicked)->click();
        }});
        EXPECT_EQ(dialogs.ShowMessage("文件不存在", DefaultMessageTitle(), messageCase.style),
                  messageCase.answer);
    }
}

TEST(QtDialogs, ClosingAQuestionAnswersNo) {
    QtDialogs dialogs(nullptr);
    ModalScript script({[](QWidget* widget) { widget->close(); }});
    EXPECT_EQ(dialogs.ShowMessage("sure?", "t", MessageStyle::YesNoQuestion), MessageAnswer::No);
}

TEST(QtDialogs, TheInputBoxGivesBackTheBytesOfItsLine) {
    QtDialogs dialogs(nullptr);
    // Bytes that are not UTF-8 come back unchanged when the line is left as it was.
    const Text initial = "\xff\xfe old \xe4\xb8";
    {
        ModalScript script({[](QWidget* widget) {
            auto* input = As<QInputDialog>(widget);
            if (input == nullptr) {
                return;
            }
            EXPECT_EQ(input->labelText(), QStringLiteral("新标签名:"));
            input->accept();
        }});
        EXPECT_EQ(dialogs.AskText("新标签名:", initial), std::optional<Text>(initial));
    }
    {
        ModalScript script({[](QWidget* widget) {
            auto* input = As<QInputDialog>(widget);
            if (input == nullptr) {
                return;
            }
            input->setTextValue(QStringLiteral("标签"));
            input->accept();
        }});
        EXPECT_EQ(dialogs.AskText("name", ""), std::optional<Text>("标签"));
    }
    {
        ModalScript script({[](QWidget* widget) { widget->close(); }});
        EXPECT_EQ(dialogs.AskText("name", "kept"), std::nullopt);
    }
}

TEST(QtDialogs, TheSaveDialogAddsTheSuffixAndConfirmsReplacing) {
    testing::TempDir dir;
    testing::WriteBytes(dir.File("old.txt"), "x");
    QtDialogs dialogs(nullptr);
    const auto checkFileDialog = [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("另存为"));
        EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(dir.path()));
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("文本文件(*.txt)")});
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("txt"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    };
    {
        ModalScript script({[&](QWidget* widget) {
            auto* dialog = As<QFileDialog>(widget);
            if (dialog == nullptr) {
                return;
            }
            checkFileDialog(dialog);
            TypeFileName(dialog, "notes");
            static_cast<QDialog*>(dialog)->accept();
        }});
        EXPECT_EQ(dialogs.AskSaveFile("另存为", dir.path()),
                  std::optional<std::string>(dir.File("notes.txt")));
    }
    {
        bool asked = false;
        ModalScript script(
            {[&](QWidget* widget) {
                 auto* dialog = As<QFileDialog>(widget);
                 if (dialog == nullptr) {
                     return;
                 }
                 checkFileDialog(dialog);
                 TypeFileName(dialog, "old.txt");
                 static_cast<QDialog*>(dialog)->accept(); // asks, inside, before it closes
             },
             [&](QWidget* widget) {
                 auto* box = As<QMessageBox>(widget);
                 if (box == nullptr) {
                     return;
                 }
                 asked = true;
                 box->button(QMessageBox::Yes)->click();
             }});
        EXPECT_EQ(dialogs.AskSaveFile("另存为", dir.path()),
                  std::optional<std::string>(dir.File("old.txt")));
        EXPECT_TRUE(asked);
    }
}

TEST(QtDialogs, TheOpenDialogGivesTheChosenFileOrNothing) {
    testing::TempDir dir;
    testing::WriteBytes(dir.File("a.txt"), "x");
    QtDialogs dialogs(nullptr);
    {
        ModalScript script({[&](QWidget* widget) {
            auto* dialog = As<QFileDialog>(widget);
            if (dialog == nullptr) {
                return;
            }
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            TypeFileName(dialog, "a.txt");
            static_cast<QDialog*>(dialog)->accept();
        }});
        EXPECT_EQ(dialogs.AskOpenFile("打开", dir.path()),
                  std::optional<std::string>(dir.File("a.txt")));
    }
    {
        ModalScript script({[](QWidget* widget) { widget->close(); }});
        EXPECT_EQ(dialogs.AskOpenFile("打开", dir.path()), std::nullopt);
    }
}

} // namespace
} // namespace quorvel::ui
