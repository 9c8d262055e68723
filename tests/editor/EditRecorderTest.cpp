#include "editor/EditRecorder.h"

#include "ui/EditBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace quorvel::editor {
namespace {

// The edit box beside another control in a shown window, so that either can hold the focus; the
// recorder's reports of edits are kept as a flag, as the workspace keeps them.
class EditRecorderTest : public ::testing::Test {
protected:
    EditRecorderTest() {
        QObject::connect(&recorder_, &EditRecorder::Edited, [this] { edited_ = true; });
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(box_.widget());
        layout->addWidget(other_);
        window_.resize(400, 300);
    }

    void SetUp() override {
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    void FocusBox() {
        box_.widget()->setFocus();
        ASSERT_TRUE(box_.HasInputFocus());
    }

    void FocusOther() {
        other_->setFocus();
        ASSERT_TRUE(other_->hasFocus());
        ASSERT_FALSE(box_.HasInputFocus());
    }

    void Type(const char* keys) { QTest::keyClicks(box_.widget(), QString::fromUtf8(keys)); }

    QWidget window_;
    ui::EditBox box_{&window_};
    QLineEdit* other_ = new QLineEdit(&window_);
    EditHistory history_;
    EditRecorder recorder_{box_, history_};
    bool edited_ = false;
};

TEST_F(EditRecorderTest, NothingIsRecordedBeforeTheSeedButTheFocusRuleHolds) {
    FocusBox();
    Type("ab");
    EXPECT_TRUE(edited_);
    EXPECT_EQ(history_.Count(), 1);
    EXPECT_EQ(history_.Position(), 0);

    recorder_.SeedHistory();
    EXPECT_EQ(history_.Count(), 1);
    EXPECT_EQ(history_.Position(), 1);
    EXPECT_EQ(history_.Entry(1).text, "ab");
    EXPECT_EQ(history_.Entry(1).caret, 0);
}

TEST_F(EditRecorderTest, TypingInTheBoxRecordsEveryKeyAndReportsAnEdit) {
    box_.WriteText("seed");
    recorder_.SeedHistory();
    FocusBox();
    box_.SetSelectionStart(4);
    Type("xyz");

    EXPECT_TRUE(edited_);
    ASSERT_EQ(history_.Count(), 4);
    EXPECT_EQ(history_.Position(), 4);
    EXPECT_EQ(history_.Entry(2).text, "seedx");
    EXPECT_EQ(history_.Entry(2).caret, 5);
    EXPECT_EQ(history_.Entry(4).text, "seedxyz");
    EXPECT_EQ(history_.Entry(4).caret, 7);

    // Three undos bring back the seed with the caret at 0; a fourth does nothing.
    for (int undo = 0; undo < 3; ++undo) {
        recorder_.UndoEdit();
    }
    EXPECT_EQ(box_.ReadText(), "seed");
    EXPECT_EQ(box_.SelectionStart(), 0);
    recorder_.UndoEdit();
    EXPECT_EQ(history_.Position(), 1);
    EXPECT_EQ(history_.Count(), 4);
}

TEST_F(EditRecorderTest, AProgramWriteFromAnotherControlIsRecordedButNoEdit) {
    FocusOther();
    box_.WriteText("first");
    recorder_.SeedHistory();
    box_.WriteText("second");
    box_.WriteText("second");

    EXPECT_FALSE(edited_);
    ASSERT_EQ(history_.Count(), 3);
    EXPECT_EQ(history_.Entry(2).text, "second");
    EXPECT_EQ(history_.Entry(3).text, "second");
}

TEST_F(EditRecorderTest, UndoAndRedoReportAnEditOnlyFromTheBox) {
    recorder_.SeedHistory();
    FocusOther();
    box_.WriteText("one");
    box_.WriteText("two");
    ASSERT_FALSE(edited_);

    recorder_.UndoEdit();
    EXPECT_EQ(box_.ReadText(), "one");
    EXPECT_FALSE(edited_);
    recorder_.RedoEdit();
    EXPECT_EQ(box_.ReadText(), "two");
    EXPECT_FALSE(edited_);

    FocusBox();
    recorder_.UndoEdit();
    EXPECT_EQ(box_.ReadText(), "one");
    EXPECT_TRUE(edited_);
    // The writes of the undo and the redo added nothing.
    EXPECT_EQ(history_.Count(), 3);
    EXPECT_EQ(history_.Position(), 2);
    EXPECT_TRUE(history_.IsRecording());
}

TEST_F(EditRecorderTest, RedoRightAfterAChangeDoesNothing) {
    recorder_.SeedHistory();
    box_.WriteText("changed");
    recorder_.RedoEdit();
    EXPECT_EQ(box_.ReadText(), "changed");
    EXPECT_EQ(history_.Position(), 2);
}

TEST_F(EditRecorderTest, TypingAfterAnUndoAppendsAtTheEnd) {
    recorder_.SeedHistory();
    FocusBox();
    Type("abc");
    recorder_.UndoEdit();
    recorder_.UndoEdit();
    ASSERT_EQ(box_.ReadText(), "a");
    box_.SetSelectionStart(1);
    Type("X");
    EXPECT_EQ(history_.Count(), 5);
    EXPECT_EQ(history_.Position(), 5);
    recorder_.UndoEdit();
    EXPECT_EQ(box_.ReadText(), "abc");
}

TEST_F(EditRecorderTest, TheRestoredCaretSelectsTheLengthLastWritten) {
    box_.WriteText("0123456789");
    recorder_.SeedHistory();
    FocusBox();
    box_.SetSelectionStart(3);
    Type("XY"); // entries "012X3456789" caret 4 and "012XY3456789" caret 5

    // As a successful find does: the program writes a selection length.
    box_.SetSelectionLength(3);
    recorder_.UndoEdit();
    EXPECT_EQ(box_.ReadText(), "012X3456789");
    EXPECT_EQ(box_.SelectionStart(), 4);
    EXPECT_EQ(box_.SelectedText(), "345");
}

} // namespace
} // namespace quorvel::editor
