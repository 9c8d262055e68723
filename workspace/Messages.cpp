#include "workspace/Messages.h"

#include "text/Words.h"

#include <array>

namespace quorvel::workspace {
namespace {

using ui::MessageStyle;

constexpr std::array kMessages{
    MessageSpec{MessageId::AlreadyOpen, "此文件已经打开过", "", "提示：", MessageStyle::Warning},
    MessageSpec{MessageId::NoDocumentToSave, "没有可保存的文件", "", "警告：", MessageStyle::Warning},
    MessageSpec{MessageId::SaveFileFailed, "保存文件失败", "", "错误：", MessageStyle::Warning},
    MessageSpec{MessageId::ConfirmDeleteFile, "确定删除“", "”文件吗？", "询问：",
                MessageStyle::YesNoQuestion},
    MessageSpec{MessageId::DeleteFileFailed, "删除文件失败", "", "错误：", MessageStyle::Warning},
    MessageSpec{MessageId::SelectFileToDelete, "请在标签列表框选择要删除的文件", "", "提示：",
                MessageStyle::Information},
    MessageSpec{MessageId::FileNameHasLineBreak, "文件名不能包含换行符", "", "错误：",
                MessageStyle::Warning},
    MessageSpec{MessageId::FileNameHasSlash, "文件名不能包含“/”", "", "错误：",
                MessageStyle::Warning},
    MessageSpec{MessageId::NewDocumentFirst, "请新建文档后再保存标签信息", "", "错误：",
                MessageStyle::Warning},
    MessageSpec{MessageId::NoTextToSave, "没有可保存的文本", "", "警告", MessageStyle::Warning},
    MessageSpec{MessageId::SelectLabelToRename, "请选择要重命名的标签", "", "",
                MessageStyle::Plain},
    MessageSpec{MessageId::SelectLabelToDelete, "请选择欲删除标签", "", "提示：",
                MessageStyle::Information},
    MessageSpec{MessageId::ConfirmDeleteDocumentNode, "确定删除分类“", "”吗？", "",
                MessageStyle::YesNoQuestion},
    MessageSpec{MessageId::ConfirmDeleteLabel, "确定删除标签“", "”吗？", "",
                MessageStyle::YesNoQuestion},
    MessageSpec{MessageId::FileMissing, "文件不存在", "", "", MessageStyle::Warning},
    MessageSpec{MessageId::LabelExists, "标签已经存在，请重新输入", "", "", MessageStyle::Plain},
    MessageSpec{MessageId::RenameFailed, "重命名失败！", "", "", MessageStyle::Plain},
    MessageSpec{MessageId::BackupMade, "备份成功", "", "", MessageStyle::Information},
    MessageSpec{MessageId::BackupFailed, "备份失败", "", "", MessageStyle::Warning},
    MessageSpec{MessageId::BackupMissing, "找不到备份文件", "", "", MessageStyle::Warning},
    MessageSpec{MessageId::RestoreDone, "还原成功", "", "", MessageStyle::Information},
    MessageSpec{MessageId::RestoreFailed, "还原失败", "", "", MessageStyle::Warning},
};

} // namespace

const MessageSpec& MessageOf(MessageId id) {
    for (const MessageSpec& spec : kMessages) {
        if (spec.id == id) {
            return spec;
        }
    }
    return kMessages.front();
}

ui::MessageAnswer ShowMessage(ui::Dialogs& dialogs, MessageId id, const Text& inserted) {
    const MessageSpec& spec = MessageOf(id);
    Text message = text::InterfaceText(spec.text);
    if (!spec.after.empty()) {
        message += inserted;
        message += text::InterfaceText(spec.after);
    }
    const Text& title =
        spec.title.empty() ? ui::DefaultMessageTitle() : text::InterfaceText(spec.title);
    return dialogs.ShowMessage(message, title, spec.style);
}

} // namespace quorvel::workspace
