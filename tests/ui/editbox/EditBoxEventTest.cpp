#include "EditBoxFixture.h"
#include "support/CaseName.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <ostream>
#include <string>

namespace quorvel::ui::testing {
namespace {

using quorvel::testing::CaseName;

struct EventCase {
    const char* name;
    std::function<void(EditBox&, QPlainTextEdit&)> act;
    int events;
    std::string text; // afterwards
};

void PrintTo(const EventCase& c, std::ostream* out) {
    *out << c.name;
}

class EventCountTest : public EditBoxFixture, public ::testing::WithParamInterface<EventCase> {};

// Starting from "ab\r\ncd" with the caret at 0.
TEST_P(EventCountTest, OneEventPerChange) {
    const EventCase& c = GetParam();
    Start("ab\r\ncd");
    QApplication::clipboard()->setText(QStringLiteral("P\nQ"));
    c.act(box_, *Edit());
    EXPECT_EQ(events_, c.events);
    EXPECT_EQ(box_.ReadText(), c.text);
}

void End(EditBox& box) {
    box.SelectRange(6, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventCountTest,
    ::testing::Values(
        EventCase{"WriteTwice",
                  [](EditBox& b, QPlainTextEdit&) { b.WriteText("x"), b.WriteText("y"); }, 2, "y"},
        EventCase{"WriteUnchanged", [](EditBox& b, QPlainTextEdit&) { b.WriteText("ab\r\ncd"); }, 1,
                  "ab\r\ncd"},
        EventCase{"WriteTextWithoutEvent",
                  [](EditBox& b, QPlainTextEdit&) { b.WriteTextWithoutEvent(""); }, 0, ""},
        EventCase{"TypeThree",
                  [](EditBox&, QPlainTextEdit& e) { QTest::keyClicks(&e, QStringLiteral("xyz")); },
                  3, "xyzab\r\ncd"},
        EventCase{"Enter", [](EditBox&, QPlainTextEdit& e) { QTest::keyClick(&e, Qt::Key_Return); },
                  1, "\r\nab\r\ncd"},
        EventCase{"DeleteAtEnd",
                  [](EditBox& b, QPlainTextEdit& e) {
                      End(b);
                      QTest::keyClick(&e, Qt::Key_Delete);
                  },
                  0, "ab\r\ncd"},
        EventCase{"BackspaceAtStart",
                  [](EditBox&, QPlainTextEdit& e) { QTest::keyClick(&e, Qt::Key_Backspace); }, 0,
                  "ab\r\ncd"},
        EventCase{"DeleteSelection",
                  [](EditBox& b, QPlainTextEdit& e) {
                      b.SelectRange(1, 5);
                      QTest::keyClick(&e, Qt::Key_Delete);
                  },
                  1, "ad"},
        EventCase{"TypeOverSameCharacter",
                  [](EditBox& b, QPlainTextEdit& e) {
                      b.SelectRange(0, 1);
                      QTest::keyClicks(&e, QStringLiteral("a"));
                  },
                  1, "ab\r\ncd"},
        EventCase{"Paste", [](EditBox& b, QPlainTextEdit&) { b.PasteFromClipboard(); }, 1,
                  "P\nQab\r\ncd"},
        EventCase{"PasteEmptyClipboard",
                  [](EditBox& b, QPlainTextEdit&) {
                      QApplication::clipboard()->clear();
                      b.PasteFromClipboard();
                  },
                  0, "ab\r\ncd"},
        EventCase{"ReplaceSelectionUndoable",
                  [](EditBox& b, QPlainTextEdit&) {
                      b.SelectRange(0, 2);
                      b.ReplaceSelection("AB\nX", UndoFlag::Undoable);
                  },
                  1, "AB\nX\r\ncd"},
        EventCase{"ReplaceSelectionEmptyRemoves",
                  [](EditBox& b, QPlainTextEdit&) {
                      b.SelectRange(1, 5);
                      b.ReplaceSelection("", UndoFlag::NotUndoable);
                  },
                  1, "ad"},
        EventCase{"ReplaceSelectionNotUndoable",
                  [](EditBox& b, QPlainTextEdit&) {
                      b.SelectRange(4, 6);
                      b.ReplaceSelection("\r\r", UndoFlag::NotUndoable);
                  },
                  1, "ab\r\n\r\r"},
        EventCase{"SelectionCopyAndCaretMoves",
                  [](EditBox& b, QPlainTextEdit& e) {
                      b.SetSelectionLength(2);
                      b.SetSelectionStart(1);
                      b.SelectRange(0, -1);
                      b.CopySelectionToClipboard();
                      QTest::keyClick(&e, Qt::Key_Right);
                  },
                  0, "ab\r\ncd"},
        EventCase{"FormatAndFontChanges",
                  [](EditBox&, QPlainTextEdit& e) {
                      QTextCursor all(e.document());
                      all.select(QTextCursor::Document);
                      QTextCharFormat format;
                      format.setFontUnderline(true);
                      all.mergeCharFormat(format);
                      QFont font = e.font();
                      font.setPointSize(font.pointSize() + 3);
                      e.setFont(font);
                  },
                  0, "ab\r\ncd"},
        EventCase{"QtCutFromContextMenu",
                  [](EditBox& b, QPlainTextEdit& e) {
                      b.SelectRange(0, 4);
                      e.cut();
                  },
                  1, "cd"},
        EventCase{"QtUndoFromContextMenu",
                  [](EditBox&, QPlainTextEdit& e) {
                      QTest::keyClicks(&e, QStringLiteral("x"));
                      e.undo();
                  },
                  2, "ab\r\ncd"}),
    CaseName());

using EditBoxEventTest = EditBoxFixture;

// The history's handler reads the text and the caret inside the event: both must already be
// the new ones.
TEST_F(EditBoxEventTest, EventFiresInsideTheChangeWithTheNewState) {
    std::vector<std::pair<Text, std::int32_t>> seen;
    QObject::connect(&box_, &EditBox::TextChanged,
                     [&] { seen.emplace_back(box_.ReadText(), box_.SelectionStart()); });
    Start("ab\r\ncd");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.back(), std::make_pair(Text("ab\r\ncd"), 0));
    box_.SelectRange(4, 4);
    QTest::keyClicks(Edit(), QStringLiteral("x"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back(), std::make_pair(Text("ab\r\nxcd"), 5));
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(seen.back(), std::make_pair(Text("ab\r\nx\r\ncd"), 7));
    box_.SelectRange(0, 2);
    box_.ReplaceSelection("Z", UndoFlag::NotUndoable);
    EXPECT_EQ(seen.back(), std::make_pair(Text("Z\r\nx\r\ncd"), 1));
}

TEST_F(EditBoxEventTest, OnlyUndoableReplaceEntersTheControlsUndoBuffer) {
    QTextDocument* document = Edit()->document();
    Start("abc");
    box_.SelectRange(0, 1);
    box_.ReplaceSelection("X", UndoFlag::Undoable);
    EXPECT_TRUE(document->isUndoAvailable());
    Edit()->undo();
    EXPECT_EQ(box_.ReadText(), "abc");

    box_.SelectRange(0, 1);
    box_.ReplaceSelection("Y", UndoFlag::NotUndoable);
    EXPECT_FALSE(document->isUndoAvailable());
    box_.SelectRange(1, 2);
    box_.ReplaceSelection("Z", UndoFlag::NotUndoable);
    EXPECT_FALSE(document->isUndoAvailable());
    EXPECT_EQ(box_.ReadText(), "YZc");
}

TEST_F(EditBoxEventTest, ObjectNameAndFocus) {
    EXPECT_EQ(Edit()->objectName(), QString::fromUtf8("主框"));
    QWidget other(&window_);
    window_.layout()->addWidget(&other);
    other.setFocusPolicy(Qt::StrongFocus);
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    Edit()->setFocus();
    EXPECT_TRUE(box_.HasInputFocus());
    other.setFocus();
    EXPECT_FALSE(box_.HasInputFocus());
}

// The window's accelerators run before the edit box sees these keys, and the box does nothing
// with them itself.
TEST(EditBoxShortcutTest, WindowAcceleratorsGetTheKeys) {
    QMainWindow window;
    EditBox box(&window);
    window.setCentralWidget(box.widget());
    const Qt::Key keys[] = {Qt::Key_Z, Qt::Key_Y, Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_A};
    int fired[6] = {};
    for (int i = 0; i < 6; ++i) {
        auto* action = new QAction(&window);
        action->setShortcut(QKeySequence(Qt::CTRL | keys[i]));
        window.addAction(action);
        QObject::connect(action, &QAction::triggered, [&fired, i] { ++fired[i]; });
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box.widget()->setFocus();

    box.WriteText("abc");
    box.SelectRange(3, 3);
    QTest::keyClicks(box.widget(), QStringLiteral("d"));
    box.SelectRange(1, 2);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(box.widget(), keys[i], Qt::ControlModifier);
        EXPECT_EQ(fired[i], 1) << "key " << i;
        EXPECT_EQ(box.ReadText(), "abcd") << "key " << i;
        EXPECT_EQ(box.SelectedText(), "b") << "key " << i;
    }
}

TEST(EditBoxShortcutTest, WithoutAcceleratorsTheControlStillDoesNotUndo) {
    QWidget window;
    EditBox box(&window);
    window.show();
    box.WriteText("abc");
    box.SelectRange(3, 3);
    QTest::keyClicks(box.widget(), QStringLiteral("d"));
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
                                      Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::Key_V}) {
        QTest::keyClick(box.widget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(box.ReadText(), "abcd");
    }
}

} // namespace
} // namespace quorvel::ui::testing
