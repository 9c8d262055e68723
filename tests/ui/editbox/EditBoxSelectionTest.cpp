#include "EditBoxFixture.h"
#include "support/CaseName.h"
#include "support/CodePageScope.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel::ui::testing {
namespace {

using quorvel::testing::CaseName;
using quorvel::testing::CodePageScope;

struct CaretCase {
    const char* name;
    CodePage codePage;
    std::string text;
    std::vector<std::int32_t> offsets; // after each press of Right, from 0
};

void PrintTo(const CaretCase& c, std::ostream* out) {
    *out << c.name;
}

class CaretOffsetTest : public EditBoxFixture, public ::testing::WithParamInterface<CaretCase> {};

// Qt moves the caret by characters; the offsets read back count bytes of the code page.
TEST_P(CaretOffsetTest, SelectionStartCountsBytes) {
    const CaretCase& c = GetParam();
    const CodePageScope scope(c.codePage);
    Start(c.text);
    EXPECT_EQ(box_.SelectionStart(), 0);
    for (const std::int32_t offset : c.offsets) {
        Key(Qt::Key_Right);
        EXPECT_EQ(box_.SelectionStart(), offset);
    }
    // And written offsets land on the same characters.
    for (const std::int32_t offset : c.offsets) {
        box_.SetSelectionStart(offset);
        EXPECT_EQ(box_.SelectionStart(), offset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaretOffsetTest,
    ::testing::Values(CaretCase{"CrLfCountsTwo", CodePage::Utf8, "a\r\nb\nc", {1, 3, 4, 5, 6}},
                      CaretCase{"Utf8Characters",
                                CodePage::Utf8,
                                "\xE4\xB8\xAD\r\n\xC3\xA9\xF0\x9F\x98\x80z",
                                {3, 5, 7, 11, 12}},
                      CaretCase{
                          "InvalidBytesCountOne", CodePage::Utf8, "\xE4\xB8|\x80", {1, 2, 3, 4}},
                      CaretCase{"GbkCharacters",
                                CodePage::Gbk,
                                "\xD6\xD0"
                                "a\r\n\xA1\xA0",
                                {2, 3, 5, 6, 7}}),
    CaseName());

using EditBoxSelectionTest = EditBoxFixture;

TEST_F(EditBoxSelectionTest, OffsetsInsideACharacterOrABreakGoToItsStart) {
    Start("a\r\n\xE4\xB8\xAD"
          "b");
    box_.SetSelectionStart(2);
    EXPECT_EQ(box_.SelectionStart(), 1);
    box_.SetSelectionStart(5);
    EXPECT_EQ(box_.SelectionStart(), 3);
    box_.SelectRange(4, 6);
    EXPECT_EQ(box_.SelectedText(), "\xE4\xB8\xAD");
    box_.SelectRange(3, 5);
    EXPECT_EQ(box_.SelectedText(), "");
}

TEST_F(EditBoxSelectionTest, WrittenStartSelectsTheLastWrittenLength) {
    Start("0123456789abcdefghij");
    box_.SetSelectionStart(4);
    EXPECT_EQ(box_.SelectedText(), "") << "no length written yet";
    box_.SetSelectionLength(3);
    EXPECT_EQ(box_.SelectedText(), "456");
    box_.SetSelectionStart(10);
    EXPECT_EQ(box_.SelectionStart(), 10);
    EXPECT_EQ(box_.SelectedText(), "abc");
    // The length counts from the start last written, wherever the caret went since.
    PlaceCaret(0);
    box_.SetSelectionLength(2);
    EXPECT_EQ(box_.SelectedText(), "ab");
    // A whole-text write keeps both.
    box_.WriteText("ABCDEFGHIJKLMNOPQRST");
    box_.SetSelectionStart(1);
    EXPECT_EQ(box_.SelectedText(), "BC");
}

TEST_F(EditBoxSelectionTest, WrittenStartIsClampedToTheText) {
    Start("abcdef");
    box_.SetSelectionLength(2);
    box_.SetSelectionStart(-5);
    EXPECT_EQ(box_.SelectionStart(), 0);
    EXPECT_EQ(box_.SelectedText(), "ab");
    box_.SetSelectionStart(5);
    EXPECT_EQ(box_.SelectedText(), "f");
    box_.SetSelectionStart(100);
    EXPECT_EQ(box_.SelectionStart(), 6);
    EXPECT_EQ(box_.SelectedText(), "");
}

TEST_F(EditBoxSelectionTest, WriteLeavesTheCaretAtZeroWithNothingSelected) {
    Start("abc\r\ndef");
    box_.SelectRange(2, 7);
    box_.WriteText("xyz\r\nuvw");
    EXPECT_EQ(box_.SelectionStart(), 0);
    EXPECT_EQ(box_.SelectedText(), "");
    EXPECT_EQ(box_.PackedSelectionBounds(), 0u);
}

TEST_F(EditBoxSelectionTest, SelectRangeToMinusOneSelectsToTheEnd) {
    Start("ab\r\ncd");
    box_.SelectRange(0, -1);
    EXPECT_EQ(box_.SelectedText(), "ab\r\ncd");
    box_.SelectRange(-1, 0);
    EXPECT_EQ(box_.SelectedText(), "");
}

TEST_F(EditBoxSelectionTest, PackedSelectionBoundsHoldStartAndEndModulo65536) {
    struct Case {
        std::int32_t start;
        std::int32_t end;
        std::uint32_t packed;
    };
    Start(std::string(65536, 'x') + "\r\n" + std::string(100, 'y'));
    for (const Case c : {Case{3, 9, 3u | 9u << 16}, Case{65530, 65540, 65530u | 4u << 16},
                         Case{65536, 65536, 0u}, Case{65538, 65600, 2u | 64u << 16}}) {
        box_.SelectRange(c.start, c.end);
        EXPECT_EQ(box_.PackedSelectionBounds(), c.packed) << c.start << ".." << c.end;
    }
    // A caret at byte 65536 is reported as line 0, column 0.
    box_.SelectRange(65536, 65536);
    const std::int32_t p = static_cast<std::int32_t>(box_.PackedSelectionBounds() & 0xFFFF);
    EXPECT_EQ(box_.DisplayedLineOf(p), 0);
    EXPECT_EQ(p - box_.DisplayedLineStart(box_.DisplayedLineOf(p)), 0);
}

TEST_F(EditBoxSelectionTest, PackedSelectionBoundsCountBytes) {
    Start("\xE4\xB8\xAD\r\nab");
    box_.SelectRange(5, 7);
    EXPECT_EQ(box_.PackedSelectionBounds(), 5u | 7u << 16);
}

TEST_F(EditBoxSelectionTest, ClickOnTheThirdLineShowsLineTwoColumnZero) {
    int releases = 0;
    QObject::connect(&box_, &EditBox::LeftButtonReleased, [&] { ++releases; });
    Start("one\r\n\xE4\xB8\xAD\xE6\x96\x87\r\nthree");
    QTextCursor third(Edit()->document()->findBlockByNumber(2));
    const QPoint at = Edit()->cursorRect(third).center() + QPoint(1, 0);
    QTest::mouseClick(Edit()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(releases, 1);
    const auto p = static_cast<std::int32_t>(box_.PackedSelectionBounds() & 0xFFFF);
    EXPECT_EQ(p, 13);
    const std::int32_t line = box_.DisplayedLineOf(p);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(p - box_.DisplayedLineStart(line), 0);
    EXPECT_EQ(box_.DisplayedLineStart(1), 5);
    EXPECT_EQ(box_.DisplayedLineOf(12), 1) << "the break belongs to the line it ends";
    EXPECT_EQ(box_.DisplayedLineStart(3), -1);
}

// While wrapping, each wrapped piece of a long line is a line of its own; the start of every
// displayed line is the byte offset of the first character Qt put on it.
TEST_F(EditBoxSelectionTest, WrappedPiecesAreLines) {
    std::string longLine;
    for (int i = 0; i < 60; ++i) {
        longLine += "w\xE4\xB8\xAD"
                    "rd ";
    }
    Start("first\r\n" + longLine + "\r\nlast");
    const QTextBlock block = Edit()->document()->findBlockByNumber(1);
    Edit()->document()->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    ASSERT_GT(layout->lineCount(), 2) << "the test line must wrap";

    const std::int32_t lineStart = 7;
    for (int i = 0; i < layout->lineCount(); ++i) {
        // Each word is "w中rd " (7 bytes, 5 characters), so character n is byte n / 5 * 7 + ...
        const int character = layout->lineAt(i).textStart();
        const std::int32_t bytes =
            character / 5 * 7 + (character % 5 >= 2 ? character % 5 + 2 : character % 5);
        EXPECT_EQ(box_.DisplayedLineStart(1 + i), lineStart + bytes);
        EXPECT_EQ(box_.DisplayedLineOf(lineStart + bytes), 1 + i);
    }
    const std::int32_t lastLine = 1 + layout->lineCount();
    EXPECT_EQ(box_.DisplayedLineOf(lineStart + static_cast<std::int32_t>(longLine.size()) + 2),
              lastLine);

    box_.ShowHorizontalScrollBar();
    EXPECT_EQ(Edit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(Edit()->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(box_.DisplayedLineOf(lineStart + 200), 1);
    EXPECT_EQ(box_.DisplayedLineStart(2),
              lineStart + static_cast<std::int32_t>(longLine.size()) + 2);
    EXPECT_EQ(box_.ReadText(), "first\r\n" + longLine + "\r\nlast");
}

TEST_F(EditBoxSelectionTest, SelectionStaysVisibleWithoutFocus) {
    const QPalette colours = Edit()->palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
    // Also after the program gives the box other colours.
    QPalette other = colours;
    other.setColor(QPalette::Active, QPalette::Highlight, Qt::darkGreen);
    Edit()->setPalette(other);
    EXPECT_EQ(Edit()->palette().color(QPalette::Inactive, QPalette::Highlight), Qt::darkGreen);
}

} // namespace
} // namespace quorvel::ui::testing
