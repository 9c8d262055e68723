// The menu bar, the toolbar and the window's shortcuts on the real main window.
#include "MainWindowFixture.h"
#include "app/SplitterBar.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <map>

namespace quorvel::app::testing {
namespace {

// One line per menu entry: "menu", then "  caption|shown shortcut|bound key" for an item, "  -"
// for a separator, and a submenu's caption followed by ">" with its items one level deeper.
std::vector<std::string> Describe(const QMenu& menu, const std::string& indent) {
    std::vector<std::string> lines;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
            continue;
        }
        if (action->menu() != nullptr) {
            lines.push_back(indent + action->text().toStdString() + ">");
            for (std::string& line : Describe(*action->menu(), indent + "  ")) {
                lines.push_back(std::move(line));
            }
            continue;
        }
        const QString text = action->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QString caption = tab < 0 ? text : text.left(tab);
        const QString bound = action->shortcut().toString(QKeySequence::PortableText);
        const QString shown = tab < 0 ? bound : text.mid(tab + 1);
        lines.push_back(indent + caption.toStdString() + "|" + shown.toStdString() + "|" +
                        bound.toStdString());
    }
    return lines;
}

const std::vector<std::string> kExpectedMenuBar{
    "文件(&F)",
    "  新建文档(&N)|Ctrl+N|Ctrl+N",
    "  打开(&O)|Ctrl+O|Ctrl+O",
    "  另存为...(&L)||",
    "  删除文件(&D)||",
    "  -",
    "  还原备份||",
    "  手动备份||",
    "  还原手动备份||",
    "编辑(&E)",
    "  撤消|Ctrl+Z|Ctrl+Z",
    "  重复|Ctrl+Y|Ctrl+Y",
    "  -",
    "  复制(&C)|Ctrl+C|Ctrl+C",
    "  剪切(&X)|Ctrl+X|Ctrl+X",
    "  粘贴(&V)|Ctrl+V|Ctrl+V",
    "  删除(&L)||",
    "  -",
    "  转为小写|Ctrl+I|Ctrl+I",
    "  转为大写|Ctrl+U|Ctrl+U",
    "  -",
    "  全选(&A)|Ctrl+A|Ctrl+A",
    "  查找替换(&F)|Ctrl+H|Ctrl+H",
    "标签(&B)",
    "  新建(&J)|Ctrl+J|Ctrl+J",
    "  保存(&S)|Ctrl+S|Ctrl+S",
    "  另存(&L)|Ctrl+L|Ctrl+L",
    "  -",
    "  重命名(&M)|Ctrl+M|Ctrl+M",
    "  删除(&D)|Ctrl+D|Ctrl+D",
    "  -",
    "  显示整个文件(&Q)|Ctrl+Q|Ctrl+Q",
    "格式(&G)",
    "  字体(&T)|Ctrl+T|Ctrl+T",
    "  背景色(&Y)|Ctrl+Y|", // shown beside the caption, the key stays 重复's
    "  -",
    "  标签字体(&U)||",
    "  标签背景色(&I)||",
    "功能(&T)",
    "  加密文本||",
    "  解密文本||",
    "  -",
    "  自动保存(&K)|Ctrl+K|Ctrl+K",
    "  显示横向滚动条(&E)|Ctrl+E|Ctrl+E",
    "  系统工具>",
    "    计算器||",
    "    进程管理器||",
    "    控制面板||",
    "    命令行提示符||",
    "    注册表编辑器||",
    "    磁盘清理程序||",
    "    磁盘检查程序||",
    "帮助(&H)",
    "  使用帮助(&H)||",
    "  关于(&A)||",
};

constexpr CommandId kLastCommand = CommandId::ClearEditBox;

// Replaces every command's handler with one that records which command ran.
class CommandSpyTest : public MainWindowTest {
protected:
    void SpyOnCommands() {
        for (int id = 0; id <= static_cast<int>(kLastCommand); ++id) {
            const auto command = static_cast<CommandId>(id);
            Window().commands().Connect(command, [this, command] { ran_.push_back(command); });
        }
    }
    std::vector<CommandId> ran_;
};

using MenuBarTest = CommandSpyTest;

TEST_F(MenuBarTest, HoldsEveryMenuAndItemInOrder) {
    Start();
    std::vector<std::string> lines;
    for (const QAction* top : Window().menuBar()->actions()) {
        ASSERT_NE(top->menu(), nullptr);
        lines.push_back(top->text().toStdString());
        for (std::string& line : Describe(*top->menu(), "  ")) {
            lines.push_back(std::move(line));
        }
    }
    EXPECT_EQ(lines, kExpectedMenuBar);
}

TEST_F(MenuBarTest, EveryItemIsEnabledVisibleAndOnlyAutoSaveCheckableAndChecked) {
    Start(); // no settings file: the window as created
    std::vector<QMenu*> menus;
    for (QAction* top : Window().menuBar()->actions()) {
        menus.push_back(top->menu());
    }
    int checkable = 0;
    for (std::size_t i = 0; i < menus.size(); ++i) {
        for (QAction* item : menus[i]->actions()) {
            if (item->menu() != nullptr) {
                menus.push_back(item->menu());
            }
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
            EXPECT_TRUE(item->isVisible()) << item->text().toStdString();
            // A first run saves what is typed: only the auto-save item starts checked.
            EXPECT_EQ(item->isChecked(), item == Window().action(CommandId::ToggleAutoSave))
                << item->text().toStdString();
            if (!item->shortcut().isEmpty()) {
                EXPECT_EQ(item->shortcutContext(), Qt::WindowShortcut);
            }
            checkable += item->isCheckable() ? 1 : 0;
        }
    }
    EXPECT_EQ(checkable, 1);
    EXPECT_TRUE(Window().action(CommandId::ToggleAutoSave)->isCheckable());
}

TEST_F(MenuBarTest, EachItemRunsItsCommand) {
    Start();
    SpyOnCommands();
    const std::map<std::string, CommandId> expected{
        {"还原备份", CommandId::RestoreAutomaticBackup},
        {"还原手动备份", CommandId::RestoreManualBackup},
        {"背景色(&Y)\tCtrl+Y", CommandId::ChooseEditBoxBackground},
        {"删除(&L)", CommandId::DeleteSelection},
        {"删除(&D)", CommandId::DeleteNode},
        {"磁盘检查程序", CommandId::LaunchDiskCheck},
        {"关于(&A)", CommandId::ShowAbout},
    };
    for (const auto& [caption, command] : expected) {
        ran_.clear();
        const QAction* found = nullptr;
        for (QAction* action : Window().findChildren<QAction*>()) {
            if (action->text().toStdString() == caption && action->menu() == nullptr) {
                found = action;
            }
        }
        ASSERT_NE(found, nullptr) << caption;
        const_cast<QAction*>(found)->trigger();
        EXPECT_EQ(ran_, std::vector<CommandId>{command}) << caption;
    }
}

// Every bound key runs exactly its item's command, with the focus in the edit box (which must
// not keep Ctrl+Z, Ctrl+C and the like for itself) and in the tree.
struct ShortcutCase {
    Qt::Key key;
    CommandId command;
};

const ShortcutCase kShortcuts[] = {
    {Qt::Key_N, CommandId::NewDocument},       {Qt::Key_O, CommandId::OpenDocument},
    {Qt::Key_Z, CommandId::UndoEdit},          {Qt::Key_Y, CommandId::RedoEdit},
    {Qt::Key_C, CommandId::CopySelection},     {Qt::Key_X, CommandId::CutSelection},
    {Qt::Key_V, CommandId::PasteClipboard},    {Qt::Key_I, CommandId::ToLowerCase},
    {Qt::Key_U, CommandId::ToUpperCase},       {Qt::Key_A, CommandId::SelectAll},
    {Qt::Key_H, CommandId::OpenFindReplace},   {Qt::Key_J, CommandId::NewLabel},
    {Qt::Key_S, CommandId::SaveLabel},         {Qt::Key_L, CommandId::SaveLabelToDocument},
    {Qt::Key_M, CommandId::RenameNode},        {Qt::Key_D, CommandId::DeleteNode},
    {Qt::Key_Q, CommandId::ShowWholeDocument}, {Qt::Key_T, CommandId::ChooseEditBoxFont},
    {Qt::Key_K, CommandId::ToggleAutoSave},    {Qt::Key_E, CommandId::ShowHorizontalScrollBar},
};

TEST_F(MenuBarTest, EachShortcutRunsOnlyItsCommand) {
    Start();
    ShowActive();
    SpyOnCommands();
    for (QWidget* focus : {static_cast<QWidget*>(Window().editBox().widget()),
                           static_cast<QWidget*>(Window().tree().widget())}) {
        focus->setFocus();
        ASSERT_TRUE(WaitUntil([focus] { return focus->hasFocus(); }));
        for (const ShortcutCase& shortcut : kShortcuts) {
            ran_.clear();
            QTest::keyClick(focus, shortcut.key, Qt::ControlModifier);
            EXPECT_EQ(ran_, std::vector<CommandId>{shortcut.command})
                << QKeySequence(shortcut.key | Qt::ControlModifier).toString().toStdString()
                << " in " << focus->metaObject()->className();
        }
    }
}

TEST_F(MenuBarTest, LabelMenuOpensAsTheTreePopupWherePointed) {
    Start();
    ShowActive();
    QMenu* popup = Window().treePopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->title(), QStringLiteral("标签(&B)"));

    emit Window().workspace().PopupRequested(Window().mapToGlobal(QPoint(300, 200)));
    ASSERT_TRUE(WaitUntil([popup] { return popup->isVisible(); }));
    EXPECT_EQ(popup->pos(), Window().mapToGlobal(QPoint(300, 200)));
    popup->close();
}

struct ToolbarRow {
    const char* tooltip; // "" for a separator
    CommandId command;
};

const ToolbarRow kExpectedToolbar[] = {
    {"新建文档", CommandId::NewDocument},
    {"打开文档", CommandId::OpenDocument},
    {"", CommandId::NewDocument},
    {"新建标签", CommandId::NewLabel},
    {"保存标签内容", CommandId::SaveLabel},
    {"删除标签", CommandId::DeleteNode},
    {"", CommandId::NewDocument},
    {"复制", CommandId::CopySelection},
    {"剪切", CommandId::CutSelection},
    {"粘贴", CommandId::PasteClipboard},
    {"删除", CommandId::DeleteSelection},
    {"", CommandId::NewDocument},
    {"查找替换", CommandId::OpenFindReplace},
    {"全选复制", CommandId::SelectAllAndCopy},
    {"清空", CommandId::ClearEditBox},
};

using ToolbarTest = CommandSpyTest;

TEST_F(ToolbarTest, HoldsFifteenEntriesWithTooltipsImagesAndCommands) {
    Start();
    SpyOnCommands();
    const QList<QAction*> entries = Window().toolBar()->actions();
    ASSERT_EQ(entries.size(), static_cast<qsizetype>(std::size(kExpectedToolbar)));
    EXPECT_EQ(Window().toolBar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ToolbarRow& row = kExpectedToolbar[i];
        QAction* entry = entries[i];
        ran_.clear();
        entry->trigger();
        if (std::string_view(row.tooltip).empty()) {
            EXPECT_TRUE(entry->isSeparator()) << i;
            EXPECT_TRUE(ran_.empty()) << i;
            continue;
        }
        EXPECT_FALSE(entry->isSeparator()) << i;
        EXPECT_TRUE(entry->isEnabled()) << i;
        EXPECT_EQ(entry->toolTip().toStdString(), row.tooltip) << i;
        EXPECT_FALSE(entry->icon().isNull()) << i;
        EXPECT_EQ(ran_, std::vector<CommandId>{row.command}) << i;
    }
}

} // namespace
} // namespace quorvel::app::testing
