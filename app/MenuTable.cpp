#include "app/MenuTable.h"

#include <array>

namespace quorvel::app {
namespace {

constexpr MenuEntry Item(std::string_view caption, std::string_view shortcut, CommandId command) {
    MenuEntry entry;
    entry.kind = MenuEntryKind::Item;
    entry.caption = caption;
    entry.shortcut = shortcut;
    entry.command = command;
    return entry;
}

constexpr MenuEntry ShownShortcutItem(std::string_view caption, std::string_view shortcut,
                                      CommandId command) {
    MenuEntry entry = Item(caption, shortcut, command);
    entry.binding = ShortcutBinding::ShownOnly;
    return entry;
}

constexpr MenuEntry CheckItem(std::string_view caption, std::string_view shortcut,
                              CommandId command) {
    MenuEntry entry = Item(caption, shortcut, command);
    entry.checkable = Checkable::Yes;
    return entry;
}

constexpr MenuEntry Separator() {
    return MenuEntry{};
}

constexpr MenuEntry Submenu(std::string_view caption, std::span<const MenuEntry> entries) {
    MenuEntry entry;
    entry.kind = MenuEntryKind::Submenu;
    entry.caption = caption;
    entry.submenu = entries;
    return entry;
}

constexpr std::array kFileMenu{
    Item("新建文档(&N)", "Ctrl+N", CommandId::NewDocument),
    Item("打开(&O)", "Ctrl+O", CommandId::OpenDocument),
    Item("另存为...(&L)", "", CommandId::SaveDocumentCopy),
    Item("删除文件(&D)", "", CommandId::DeleteDocumentFile),
    Separator(),
    Item("还原备份", "", CommandId::RestoreAutomaticBackup),
    Item("手动备份", "", CommandId::ManualBackup),
    Item("还原手动备份", "", CommandId::RestoreManualBackup),
};

constexpr std::array kEditMenu{
    Item("撤消", "Ctrl+Z", CommandId::UndoEdit),
    Item("重复", "Ctrl+Y", CommandId::RedoEdit),
    Separator(),
    Item("复制(&C)", "Ctrl+C", CommandId::CopySelection),
    Item("剪切(&X)", "Ctrl+X", CommandId::CutSelection),
    Item("粘贴(&V)", "Ctrl+V", CommandId::PasteClipboard),
    Item("删除(&L)", "", CommandId::DeleteSelection),
    Separator(),
    Item("转为小写", "Ctrl+I", CommandId::ToLowerCase),
    Item("转为大写", "Ctrl+U", CommandId::ToUpperCase),
    Separator(),
    Item("全选(&A)", "Ctrl+A", CommandId::SelectAll),
    Item("查找替换(&F)", "Ctrl+H", CommandId::OpenFindReplace),
};

constexpr std::array kLabelMenu{
    Item("新建(&J)", "Ctrl+J", CommandId::NewLabel),
    Item("保存(&S)", "Ctrl+S", CommandId::SaveLabel),
    Item("另存(&L)", "Ctrl+L", CommandId::SaveLabelToDocument),
    Separator(),
    Item("重命名(&M)", "Ctrl+M", CommandId::RenameNode),
    Item("删除(&D)", "Ctrl+D", CommandId::DeleteNode),
    Separator(),
    Item("显示整个文件(&Q)", "Ctrl+Q", CommandId::ShowWholeDocument),
};

constexpr std::array kFormatMenu{
    Item("字体(&T)", "Ctrl+T", CommandId::ChooseEditBoxFont),
    ShownShortcutItem("背景色(&Y)", "Ctrl+Y", CommandId::ChooseEditBoxBackground),
    Separator(),
    Item("标签字体(&U)", "", CommandId::ChooseTreeFont),
    Item("标签背景色(&I)", "", CommandId::ChooseTreeBackground),
};

constexpr std::array kSystemTools{
    Item("计算器", "", CommandId::LaunchCalculator),
    Item("进程管理器", "", CommandId::LaunchProcessManager),
    Item("控制面板", "", CommandId::LaunchControlPanel),
    Item("命令行提示符", "", CommandId::LaunchCommandPrompt),
    Item("注册表编辑器", "", CommandId::LaunchRegistryEditor),
    Item("磁盘清理程序", "", CommandId::LaunchDiskCleanup),
    Item("磁盘检查程序", "", CommandId::LaunchDiskCheck),
};

constexpr std::array kFunctionMenu{
    Item("加密文本", "", CommandId::EncryptText),
    Item("解密文本", "", CommandId::DecryptText),
    Separator(),
    CheckItem("自动保存(&K)", "Ctrl+K", CommandId::ToggleAutoSave),
    Item("显示横向滚动条(&E)", "Ctrl+E", CommandId::ShowHorizontalScrollBar),
    Submenu("系统工具", kSystemTools),
};

constexpr std::array kHelpMenu{
    Item("使用帮助(&H)", "", CommandId::ShowHelp),
    Item("关于(&A)", "", CommandId::ShowAbout),
};

constexpr std::array kMenuBar{
    MenuDefinition{"文件(&F)", kFileMenu},
    MenuDefinition{"编辑(&E)", kEditMenu},
    MenuDefinition{"标签(&B)", kLabelMenu, MenuRole::TreePopup},
    MenuDefinition{"格式(&G)", kFormatMenu},
    MenuDefinition{"功能(&T)", kFunctionMenu},
    MenuDefinition{"帮助(&H)", kHelpMenu},
};

} // namespace

std::span<const MenuDefinition> MenuBarTable() {
    return kMenuBar;
}

} // namespace quorvel::app
