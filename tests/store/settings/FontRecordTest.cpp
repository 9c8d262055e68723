#include "store/FontRecord.h"

#include "store/settings/SettingsTestSupport.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quorvel::store {

// Readable failure messages.
static void PrintTo(const Appearance& a, std::ostream* out) {
    *out << "{bold " << a.bold << ", italic " << a.italic << ", strikeout " << a.strikeout
         << ", underline " << a.underline << ", \"" << a.faceName << "\", " << a.pointSize << ", "
         << a.textColour << ", " << a.backgroundColour << "}";
}

namespace {

using testing::CodePageScope;
using testing::ReadBytes;
using testing::TempDir;

// The control's appearance before a record is applied: italic already on.
const Appearance kCurrent{false, true, false, false, "Sans", 10, 1, 2};

struct DecodeCase {
    const char* record;
    std::optional<Appearance> expected;
};

TEST(FontRecord, DecodesOntoTheCurrentAppearance) {
    const DecodeCase cases[] = {
        {"真|假|假|真|宋体|12|255|16777215",
         Appearance{true, true, false, true, "宋体", 12, 255, 16777215}},
        {"真|假|假|真|宋体|12|255|16777215|", // a final separator adds nothing
         Appearance{true, true, false, true, "宋体", 12, 255, 16777215}},
        {"真|假|假|真|宋体|12|255|", std::nullopt}, // seven fields
        {"假|假|真|假|黑体|14|1|2|x|y", Appearance{false, true, true, false, "黑体", 14, 1, 2}},
        {"假|真|假|假|||-5|１２", Appearance{false, true, false, false, "", 0, -5, 12}},
        {"TRUE| 真|true|1|Mono|9|0|0", Appearance{false, true, false, false, "Mono", 9, 0, 0}},
        {"||||||||", Appearance{false, true, false, false, "", 0, 0, 0}},
        {"a|b|c|d|e|f|g", std::nullopt},
        {"", std::nullopt},
        {"|", std::nullopt},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeFontRecord(c.record, kCurrent), c.expected) << c.record;
    }
}

TEST(FontRecord, EncodesEightFields) {
    EXPECT_EQ(EncodeFontRecord(Appearance{false, false, false, false, "宋体", 9, 0, 16777215}),
              "假|假|假|假|宋体|9|0|16777215");
    EXPECT_EQ(EncodeFontRecord(Appearance{true, false, true, false, " Mono ", 72, 255, 0}),
              "真|假|真|假| Mono |72|255|0");
}

// In code page 936 a "|" that is the trail byte of a face name's character never splits.
TEST(FontRecord, FaceNameWithATrailByteLikeTheSeparator) {
    const Appearance gbkFace{true, false, false, true, "\x81|\xCB\xCE", 11, 3, 4};
    {
        CodePageScope gbk(CodePage::Gbk);
        const Text record = EncodeFontRecord(gbkFace);
        EXPECT_EQ(record, "\xD5\xE6|\xBC\xD9|\xBC\xD9|\xD5\xE6|\x81|\xCB\xCE|11|3|4");
        EXPECT_EQ(DecodeFontRecord(record, Appearance{}), gbkFace);
    }
    // The same bytes stepped as UTF-8 split inside the name.
    const auto asUtf8 =
        DecodeFontRecord("\xD5\xE6|\xBC\xD9|\xBC\xD9|\xD5\xE6|\x81|\xCB\xCE|11|3|4", kCurrent);
    ASSERT_TRUE(asUtf8.has_value());
    EXPECT_EQ(asUtf8->faceName, "\x81");
}

TEST(FontRecord, SavesAndLoadsEachTargetInItsSection) {
    TempDir dir;
    Settings settings(dir.File("kelmora.ini"));
    EXPECT_EQ(LoadFontRecord(settings, FontTarget::EditBox, kCurrent), std::nullopt);

    const Appearance editBox{true, false, false, false, "宋体", 12, 255, 16777215};
    const Appearance tree{false, false, true, true, "  Mono", 8, 0, 65280};
    ASSERT_EQ(SaveFontRecord(settings, FontTarget::EditBox, editBox), ProfileWriteOutcome::Written);
    ASSERT_EQ(SaveFontRecord(settings, FontTarget::Tree, tree), ProfileWriteOutcome::Written);
    EXPECT_EQ(ReadBytes(settings.path()), "[格式]\r\n字体=真|假|假|假|宋体|12|255|16777215\r\n"
                                          "[格式1]\r\n字体=假|假|真|真|  Mono|8|0|65280\r\n");

    const Appearance plain{false, false, false, false, "", 9, 0, 0};
    EXPECT_EQ(LoadFontRecord(settings, FontTarget::EditBox, plain), editBox);
    EXPECT_EQ(LoadFontRecord(settings, FontTarget::Tree, plain), tree);
}

} // namespace
} // namespace quorvel::store
