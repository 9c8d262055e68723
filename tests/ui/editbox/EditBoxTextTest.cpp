#include "EditBoxFixture.h"
#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "ui/ByteCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextCursor>
#include <functional>
#include <ostream>
#include <string>

namespace quorvel::ui::testing {
namespace {

using quorvel::testing::CaseName;
using namespace std::string_literals;
using quorvel::testing::CodePageScope;

struct RoundTripCase {
    const char* name;
    CodePage codePage;
    std::string bytes;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

class WriteReadTest : public EditBoxFixture, public ::testing::WithParamInterface<RoundTripCase> {};

std::string AllAscii() {
    std::string all;
    for (int c = 0; c < 128; ++c) {
        all += static_cast<char>(c);
    }
    return all;
}

// Bytes written come back exactly, and typing at both ends and in the middle of them changes
// nothing but the typed spot.
TEST_P(WriteReadTest, BytesComeBackAndSurviveTypingNextToThem) {
    const RoundTripCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    box_.WriteText(c.bytes);
    EXPECT_EQ(box_.ReadText(), c.bytes);

    PlaceCaret(0);
    QTest::keyClicks(Edit(), QStringLiteral("x"));
    const auto end = static_cast<std::int32_t>(c.bytes.size()) + 1;
    PlaceCaret(end);
    QTest::keyClicks(Edit(), QStringLiteral("y"));
    EXPECT_EQ(box_.ReadText(), "x" + c.bytes + "y");

    // In the middle, next to whatever byte stands there (a caret inside a character goes to its
    // start, so the insertion point is read back rather than assumed).
    PlaceCaret(1 + static_cast<std::int32_t>(c.bytes.size() / 2));
    const auto at = static_cast<std::size_t>(box_.SelectionStart());
    QTest::keyClicks(Edit(), QStringLiteral("z"));
    std::string expected = "x" + c.bytes + "y";
    expected.insert(at, "z");
    EXPECT_EQ(box_.ReadText(), expected);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(box_.ReadText(), "x" + c.bytes + "y");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteReadTest,
    ::testing::Values(RoundTripCase{"MixedBreaks", CodePage::Utf8, "a\r\nb\nc\rd"},
                      RoundTripCase{"RunsOfBreaks", CodePage::Utf8, "\r\r\n\n\r\n\r\r\n\n"},
                      RoundTripCase{"InvalidUtf8", CodePage::Utf8,
                                    "ok\x80\xFF\xC0\xAF\xED\xA0\x80|\xE4\xB8"},
                      RoundTripCase{"TruncatedAtEnd", CodePage::Utf8, "\xE4\xB8\xAD\xE4\xB8"},
                      RoundTripCase{"InvalidNextToBreaks", CodePage::Utf8, "\xC3\r\n\xA9\n\xE2\r"},
                      RoundTripCase{"PrivateUseNeighbours", CodePage::Utf8,
                                    "\xF4\x8F\xBD\xBF\xF4\x8F\xBE\x80\xEE\x80\x80"},
                      RoundTripCase{"StructureMarks", CodePage::Utf8,
                                    "a\xE2\x80\xA9"
                                    "b\xE2\x80\xA8"
                                    "c\xEF\xB7\x90\xC2\xA0"},
                      RoundTripCase{"EveryAsciiByte", CodePage::Utf8, AllAscii()},
                      RoundTripCase{"GbkText", CodePage::Gbk, "\xD6\xD0\xCE\xC4\r\n\xA1\xA0x\xD6"},
                      RoundTripCase{"GbkLeadBeforeBreak", CodePage::Gbk, "\x81\n\xFE\r\n\x80\x80"}),
    CaseName());

struct BreakCase {
    const char* name;
    std::string before;
    std::int32_t caret;
    std::function<void(EditBoxFixture&)> edit;
    std::string after;
};

void PrintTo(const BreakCase& c, std::ostream* out) {
    *out << c.name;
}

class BreakTest : public EditBoxFixture, public ::testing::WithParamInterface<BreakCase> {};

void SelectAndDelete(EditBoxFixture& f, std::int32_t start, std::int32_t end) {
    f.box_.SelectRange(start, end);
    f.Key(Qt::Key_Delete);
}

// Typed breaks follow the text's own breaks; joining and splitting lines keeps every other break
// exactly as it was.
TEST_P(BreakTest, EditsKeepTheOtherBreaks) {
    const BreakCase& c = GetParam();
    Start(c.before);
    PlaceCaret(c.caret);
    c.edit(*this);
    EXPECT_EQ(box_.ReadText(), c.after);
}

const auto kEnter = [](EditBoxFixture& f) { f.Key(Qt::Key_Return); };
const auto kBackspace = [](EditBoxFixture& f) { f.Key(Qt::Key_Backspace); };
const auto kDelete = [](EditBoxFixture& f) { f.Key(Qt::Key_Delete); };

INSTANTIATE_TEST_SUITE_P(
    Cases, BreakTest,
    ::testing::Values(
        BreakCase{"EnterInEmptyText", "", 0, kEnter, "\r\n"},
        BreakCase{"EnterInLfText", "a\nb", 3, kEnter, "a\nb\n"},
        BreakCase{"EnterInCrLfText", "a\r\nb", 4, kEnter, "a\r\nb\r\n"},
        BreakCase{"EnterInCrText", "a\rb", 1, kEnter, "a\r\n\rb"},
        BreakCase{"EnterInMixedText", "a\nb\r\nc", 0, kEnter, "\r\na\nb\r\nc"},
        BreakCase{"EnterSplitsALine", "ab\r\ncd\nef\rgh", 5, kEnter, "ab\r\nc\r\nd\nef\rgh"},
        BreakCase{"EnterAtLineStart", "ab\nc\rd", 3, kEnter, "ab\n\r\nc\rd"},
        BreakCase{"BackspaceJoinsLines", "ab\r\ncd\nef\rgh", 7, kBackspace, "ab\r\ncdef\rgh"},
        BreakCase{"DeleteJoinsLines", "ab\r\ncd\nef\rgh", 2, kDelete, "abcd\nef\rgh"},
        BreakCase{"BackspaceIntoEmptyLine", "a\r\n\nb", 4, kBackspace, "a\r\nb"},
        BreakCase{"DeleteIntoEmptyLine", "a\r\n\nb", 1, kDelete, "a\nb"},
        BreakCase{"DeleteEmptyLineFromItsStart", "a\r\n\nb\rc", 3, kDelete, "a\r\nb\rc"},
        BreakCase{"DeleteSelectionOverBreaks", "ab\r\ncd\nef\rgh", 1,
                  [](EditBoxFixture& f) { SelectAndDelete(f, 1, 8); }, "af\rgh"},
        BreakCase{"DeleteSelectionEndingAtBreak", "ab\r\ncd\nef", 1,
                  [](EditBoxFixture& f) { SelectAndDelete(f, 1, 6); }, "a\nef"},
        BreakCase{"TypeOverSelectionOverBreaks", "ab\ncd\r\nef\rg", 1,
                  [](EditBoxFixture& f) {
                      f.box_.SelectRange(1, 8);
                      QTest::keyClicks(f.Edit(), QStringLiteral("X"));
                  },
                  "aXf\rg"}),
    CaseName());

using EditBoxTextTest = EditBoxFixture;

TEST_F(EditBoxTextTest, PasteKeepsThePastedBreaksAndBytes) {
    Start("a\r\nb");
    PlaceCaret(4);
    QApplication::clipboard()->setText(DecodeForDisplay("x\ry\nz\r\n\x80"));
    box_.PasteFromClipboard();
    EXPECT_EQ(box_.ReadText(), "a\r\nbx\ry\nz\r\n\x80");
    // Qt's own paste path (context menu, Shift+Insert) takes the same way.
    box_.SelectRange(1, 4);
    Edit()->paste();
    EXPECT_EQ(box_.ReadText(), "ax\ry\nz\r\n\x80x\ry\nz\r\n\x80");
}

TEST_F(EditBoxTextTest, CopyPutsTheSelectedTextWithItsBreaksOnTheClipboard) {
    Start("a\r\nb\n\xFF"
          "c");
    box_.SelectRange(1, 6);
    box_.CopySelectionToClipboard();
    EXPECT_EQ(EncodeFromDisplay(QApplication::clipboard()->text()), "\r\nb\n\xFF");
    // Qt's cut (context menu) copies the same bytes.
    Edit()->cut();
    EXPECT_EQ(EncodeFromDisplay(QApplication::clipboard()->text()), "\r\nb\n\xFF");
    EXPECT_EQ(box_.ReadText(), "ac");
}

TEST_F(EditBoxTextTest, DroppedTextKeepsItsBreaks) {
    Start("ab");
    QTextCursor end(Edit()->document());
    end.movePosition(QTextCursor::End);
    const QPoint at = Edit()->cursorRect(end).center() + QPoint(4, 0);
    QMimeData mime;
    mime.setText(QString::fromUtf8("p\rq\nr"));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Edit()->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Edit()->viewport(), &drop);
    EXPECT_EQ(box_.ReadText(), "abp\rq\nr");
    EXPECT_EQ(events_, 1);
}

TEST_F(EditBoxTextTest, SelectedTextIsReplacedCaretAfterIt) {
    Start("one\r\ntwo");
    box_.SelectRange(2, 6);
    EXPECT_EQ(box_.SelectedText(), "e\r\nt");
    box_.ReplaceSelection("X\nY", UndoFlag::NotUndoable);
    EXPECT_EQ(box_.ReadText(), "onX\nYwo");
    EXPECT_EQ(box_.SelectionStart(), 5);
    EXPECT_EQ(box_.SelectedText(), "");
}

} // namespace
} // namespace quorvel::ui::testing
