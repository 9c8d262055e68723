#include "workspace/Messages.h"

#include "text/Words.h"

#include <array>

namespace quorvel::workspace {
namespace {

using ui::MessageStyle;

constexpr std::array kMessages{
    MessageEntry{MessageId::AlreadyOpen, "此文件已经打开过", "", "提示：", MessageStyle::Warning},
    MessageEntry{MessageId::NoDocumentToSave, "没有可保存的文件", "", "警告：",
                 MessageStyle::Warning},
    MessageEntry{MessageId::SaveFileFailed, "保存文件失败", "", "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::ConfirmDeleteFile, "确定删除“", "”文件吗？", "询问：",
                 MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::DeleteFileFailed, "删除文件失败", "", "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::SelectFileToDelete, "请在标签列表框选择要删除的文件", "", "提示：",
                 MessageStyle::Information},
    MessageEntry{MessageId::FileNameHasLineBreak, "文件名不能包含换行符", "", "错误：",
                 MessageStyle::Warning},
    MessageEntry{MessageId::FileNameHasSlash, "文件名不能包含“/”", "", "错误：",
                 MessageStyle::Warning},
    MessageEntry{MessageId::NewDocumentFirst, "请新建文档后再保存标签信息", "", "错误：",
                 MessageStyle::Warning},
    MessageEntry{MessageId::NoTextToSave, "没有可保存的文本", "", "警告", MessageStyle::Warning},
    MessageEntry{MessageId::SelectLabelToRename, "请选择要重命名的标签", "", "",
                 MessageStyle::Plain},
    MessageEntry{MessageId::SelectLabelToDelete, "请选择欲删除标签", "", "提示：",
                 MessageStyle::Information},
    MessageEntry{MessageId::ConfirmDeleteDocumentNode, "确定删除分类“", "”吗？", "",
                 MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::ConfirmDeleteLabel, "确定删除标签“", "”吗？", "",
                 MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::FileMissing, "文件不存在", "", "", MessageStyle::Warning},
    MessageEntry{MessageId::LabelExists, "标签已经存在，请重新输入", "", "", MessageStyle::Plain},
    MessageEntry{MessageId::InvalidLabel, "标签不能包含换行符、零字节或 0x1A", "", "错误：",
                 MessageStyle::Warning},
    MessageEntry{MessageId::RenameFailed, "重命名失败！", "", "", MessageStyle::Plain},
    MessageEntry{MessageId::BackupMade, "备份成功", "", "", MessageStyle::Information},
    MessageEntry{MessageId::BackupFailed, "备份失败", "", "", MessageStyle::Warning},
    MessageEntry{MessageId::BackupMissing, "找不到备份文件", "", "", MessageStyle::Warning},
    MessageEntry{MessageId::RestoreDone, "还原成功", "", "", MessageStyle::Information},
    MessageEntry{MessageId::RestoreFailed, "还原失败", "", "", MessageStyle::Warning},
};

} // namespace

const MessageEntry& MessageOf(MessageId id) {
    for (const MessageEntry& entry : kMessages) {
        if (entry.id == id) {
            return entry;
        }
    }
    return kMessages.front();
}

ui::MessageAnswer ShowMessage(ui::Dialogs& dialogs, MessageId id, const Text& inserted) {
    const MessageEntry& entry = MessageOf(id);
    Text message = text::InterfaceText(entry.text);
    if (!entry.after.empty()) {
        message += inserted;
        message += text::InterfaceText(entry.after);
    }
    const Text& title =
        entry.title.empty() ? ui::DefaultMessageTitle() : text::InterfaceText(entry.title);
    return dialogs.ShowMessage(message, title, entry.style);
}

} // namespace quorvel::workspace
