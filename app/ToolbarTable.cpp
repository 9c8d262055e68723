#include "app/ToolbarTable.h"

#include "app/CommandRegistry.h"

#include <array>

namespace quorvel::app {
namespace {

constexpr ToolbarEntry Button(std::string_view tooltip, std::string_view themeIcon,
                              QStyle::StandardPixmap fallback, CommandId command) {
    return ToolbarEntry{ToolbarEntryKind::Button, tooltip, themeIcon, fallback, command};
}

constexpr ToolbarEntry Separator() {
    return ToolbarEntry{};
}

constexpr std::array kToolbar{
    Button("新建文档", "document-new", QStyle::SP_FileIcon, CommandId::NewDocument),
    Button("打开文档", "document-open", QStyle::SP_DialogOpenButton, CommandId::OpenDocument),
    Separator(),
    Button("新建标签", "list-add", QStyle::SP_FileDialogNewFolder, CommandId::NewLabel),
    Button("保存标签内容", "document-save", QStyle::SP_DialogSaveButton, CommandId::SaveLabel),
    Button("删除标签", "list-remove", QStyle::SP_TrashIcon, CommandId::DeleteNode),
    Separator(),
    Button("复制", "edit-copy", QStyle::SP_FileDialogDetailedView, CommandId::CopySelection),
    Button("剪切", "edit-cut", QStyle::SP_DialogDiscardButton, CommandId::CutSelection),
    Button("粘贴", "edit-paste", QStyle::SP_DialogApplyButton, CommandId::PasteClipboard),
    Button("删除", "edit-delete", QStyle::SP_DialogCancelButton, CommandId::DeleteSelection),
    Separator(),
    Button("查找替换", "edit-find-replace", QStyle::SP_FileDialogContentsView,
           CommandId::OpenFindReplace),
    Button("全选复制", "edit-select-all", QStyle::SP_FileDialogListView,
           CommandId::SelectAllAndCopy),
    Button("清空", "edit-clear", QStyle::SP_LineEditClearButton, CommandId::ClearEditBox),
};

} // namespace

std::span<const ToolbarEntry> ToolbarTable() {
    return kToolbar;
}

void HandleToolbarButton(int index, const CommandRegistry& commands) {
    if (index < 0 || static_cast<std::size_t>(index) >= kToolbar.size()) {
        return;
    }
    const ToolbarEntry& entry = kToolbar[static_cast<std::size_t>(index)];
    if (entry.kind != ToolbarEntryKind::Button) {
        return;
    }
    commands.Run(entry.command);
}

} // namespace quorvel::app
