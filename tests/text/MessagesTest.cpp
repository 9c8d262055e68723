#include "text/Messages.h"

#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "text/Words.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace quorvel::text {
namespace {

using testing::CodePageScope;

// Every message as the user reads it: the window shows these words in its boxes and
// quorvel-notes prints them on standard error.
struct WordsCase {
    const char* name;
    MessageId id;
    const char* words; // a confirmation's two parts around "{}"
};

void PrintTo(const WordsCase& c, std::ostream* os) {
    *os << c.name;
}

const WordsCase kWordsCases[] = {
    {"AlreadyOpen", MessageId::AlreadyOpen, "此文件已经打开过"},
    {"NoDocumentToSave", MessageId::NoDocumentToSave, "没有可保存的文件"},
    {"SaveFileFailed", MessageId::SaveFileFailed, "保存文件失败"},
    {"ConfirmDeleteFile", MessageId::ConfirmDeleteFile, "确定删除“{}”文件吗？"},
    {"DeleteFileFailed", MessageId::DeleteFileFailed, "删除文件失败"},
    {"SelectFileToDelete", MessageId::SelectFileToDelete, "请在标签列表框选择要删除的文件"},
    {"FileNameHasLineBreak", MessageId::FileNameHasLineBreak, "文件名不能包含换行符"},
    {"FileNameHasSlash", MessageId::FileNameHasSlash, "文件名不能包含“/”"},
    {"NewDocumentFirst", MessageId::NewDocumentFirst, "请新建文档后再保存标签信息"},
    {"NoTextToSave", MessageId::NoTextToSave, "没有可保存的文本"},
    {"SelectLabelToRename", MessageId::SelectLabelToRename, "请选择要重命名的标签"},
    {"SelectLabelToDelete", MessageId::SelectLabelToDelete, "请选择欲删除标签"},
    {"ConfirmDeleteDocumentNode", MessageId::ConfirmDeleteDocumentNode, "确定删除分类“{}”吗？"},
    {"ConfirmDeleteLabel", MessageId::ConfirmDeleteLabel, "确定删除标签“{}”吗？"},
    {"FileMissing", MessageId::FileMissing, "文件不存在"},
    {"LabelExists", MessageId::LabelExists, "标签已经存在，请重新输入"},
    {"RenameFailed", MessageId::RenameFailed, "重命名失败！"},
    {"UnsavedText", MessageId::UnsavedText, "当前内容没有保存到任何标签。要保存为新标签吗？"},
    {"SaveFailed", MessageId::SaveFailed, "保存失败：{}"},
    {"CloseAnyway", MessageId::CloseAnyway, "编辑框的内容没有保存，关闭后将会丢失。仍要关闭吗？"},
    {"BackupMade", MessageId::BackupMade, "备份成功"},
    {"BackupFailed", MessageId::BackupFailed, "备份失败"},
    {"BackupMissing", MessageId::BackupMissing, "找不到备份文件"},
    {"RestoreDone", MessageId::RestoreDone, "还原成功"},
    {"RestoreFailed", MessageId::RestoreFailed, "还原失败"},
};

// The words with inserted in place of "{}"; words without one stay as they are.
std::string Filled(std::string_view words, std::string_view inserted) {
    std::string result(words);
    if (const std::size_t at = result.find("{}"); at != std::string::npos) {
        result.replace(at, 2, inserted);
    }
    return result;
}

class MessageWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(MessageWordsTest, HasItsOwnEntryWithTheWindowsWords) {
    const WordsCase& c = GetParam();
    EXPECT_EQ(MessageWordsOf(c.id).id, c.id);
    EXPECT_EQ(MessageText(c.id, "x.txt"), Filled(c.words, "x.txt"));
}

TEST_P(MessageWordsTest, MeetsATextInCodePage936) {
    const WordsCase& c = GetParam();
    const CodePageScope scope(CodePage::Gbk);
    const std::string inserted = "\xB1\xCA.txt"; // a name already in code page 936
    const std::string words(c.words);
    const std::size_t at = words.find("{}");
    const std::string expected = at == std::string::npos
                                     ? FromUtf8(words, CodePage::Gbk)
                                     : FromUtf8(words.substr(0, at), CodePage::Gbk) + inserted +
                                           FromUtf8(words.substr(at + 2), CodePage::Gbk);
    EXPECT_EQ(MessageText(c.id, inserted), expected);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, MessageWordsTest, ::testing::ValuesIn(kWordsCases),
                         quorvel::testing::CaseName());

TEST(MessageText, GivesCode936BytesAndLeavesTheInsertedTextAlone) {
    const CodePageScope scope(CodePage::Gbk);
    EXPECT_EQ(MessageText(MessageId::LabelExists),
              "\xB1\xEA\xC7\xA9\xD2\xD1\xBE\xAD\xB4\xE6\xD4\xDA\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2"
              "\xCA\xE4\xC8\xEB");
    // Bytes that are not UTF-8 go between the parts unconverted.
    EXPECT_EQ(MessageText(MessageId::ConfirmDeleteLabel, "\xFF"),
              FromUtf8("确定删除标签“", CodePage::Gbk) + "\xFF" + FromUtf8("”吗？", CodePage::Gbk));
}

} // namespace
} // namespace quorvel::text
