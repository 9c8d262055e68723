#include "text/Messages.h"

#include "text/Words.h"

#include <array>

namespace quorvel::text {
namespace {

constexpr std::array kCatalogue{
    MessageWords{MessageId::AlreadyOpen, "此文件已经打开过", ""},
    MessageWords{MessageId::NoDocumentToSave, "没有可保存的文件", ""},
    MessageWords{MessageId::SaveFileFailed, "保存文件失败", ""},
    MessageWords{MessageId::ConfirmDeleteFile, "确定删除“", "”文件吗？"},
    MessageWords{MessageId::DeleteFileFailed, "删除文件失败", ""},
    MessageWords{MessageId::SelectFileToDelete, "请在标签列表框选择要删除的文件", ""},
    MessageWords{MessageId::FileNameHasLineBreak, "文件名不能包含换行符", ""},
    MessageWords{MessageId::FileNameHasSlash, "文件名不能包含“/”", ""},
    MessageWords{MessageId::NewDocumentFirst, "请新建文档后再保存标签信息", ""},
    MessageWords{MessageId::NoTextToSave, "没有可保存的文本", ""},
    MessageWords{MessageId::SelectLabelToRename, "请选择要重命名的标签", ""},
    MessageWords{MessageId::SelectLabelToDelete, "请选择欲删除标签", ""},
    MessageWords{MessageId::ConfirmDeleteDocumentNode, "确定删除分类“", "”吗？"},
    MessageWords{MessageId::ConfirmDeleteLabel, "确定删除标签“", "”吗？"},
    MessageWords{MessageId::FileMissing, "文件不存在", ""},
    MessageWords{MessageId::LabelExists, "标签已经存在，请重新输入", ""},
    MessageWords{MessageId::InvalidLabel, "标签不能包含换行符、零字节或 0x1A", ""},
    MessageWords{MessageId::RenameFailed, "重命名失败！", ""},
    MessageWords{MessageId::UnsavedText, "当前内容没有保存到任何标签。要保存为新标签吗？", ""},
    MessageWords{MessageId::SaveFailed, "保存失败：", "", Insertion::AtEnd},
    MessageWords{MessageId::CloseAnyway, "编辑框的内容没有保存，关闭后将会丢失。仍要关闭吗？", ""},
    MessageWords{MessageId::BackupMade, "备份成功", ""},
    MessageWords{MessageId::BackupFailed, "备份失败", ""},
    MessageWords{MessageId::BackupMissing, "找不到备份文件", ""},
    MessageWords{MessageId::RestoreDone, "还原成功", ""},
    MessageWords{MessageId::RestoreFailed, "还原失败", ""},
};

} // namespace

const MessageWords& MessageWordsOf(MessageId id) {
    for (const MessageWords& words : kCatalogue) {
        if (words.id == id) {
            return words;
        }
    }
    return kCatalogue.front();
}

Text MessageText(MessageId id, std::string_view inserted) {
    const MessageWords& words = MessageWordsOf(id);
    Text message = InterfaceText(words.before);
    if (!words.after.empty() || words.insertion == Insertion::AtEnd) {
        message += inserted;
        message += InterfaceText(words.after);
    }
    return message;
}

} // namespace quorvel::text
