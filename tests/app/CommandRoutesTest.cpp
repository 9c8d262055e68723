// The document, label and backup commands reached on the real main window from each of their
// routes: the menu bar item, the shortcut, the toolbar button and the tree's pop-up. Every route
// must run the real command, seen by the first dialog the command shows (answered No or
// Cancel, so nothing else happens).
#include "MainWindowFixture.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel::app::testing {
namespace {

using quorvel::testing::DialogKind;
using quorvel::testing::ShownDialog;
using ui::MessageStyle;

constexpr std::string_view kDocument = "[#x]\r\none\r\n[#y]\r\ntwo";
// The document a.txt is registered and current, label x was recorded: start-up shows x and makes
// the start-up backup 备_a.txt. There is no manual backup.
constexpr std::string_view kSettings = "[配置]\r\n当前文件={dir}/a.txt\r\n当前标签=x\r\n"
                                       "[文件]\r\n1={dir}/a.txt\r\n";

enum class Route { MenuItem, Shortcut, ToolbarButton, TreePopup };

const char* RouteName(Route route) {
    switch (route) {
    case Route::MenuItem:
        return "MenuItem";
    case Route::Shortcut:
        return "Shortcut";
    case Route::ToolbarButton:
        return "ToolbarButton";
    case Route::TreePopup:
        return "TreePopup";
    }
    return "Route";
}

// The first dialog a command shows with the document node "a" selected (so no label is current)
// and "one" in the edit box. kind none: the command shows no dialog; the edit box then shows the
// whole document instead. Texts may hold "{dir}".
struct FirstDialog {
    std::optional<DialogKind> kind;
    const char* text = "";  // the message or the prompt
    const char* title = ""; // the message's title or the file dialog's
    MessageStyle style = MessageStyle::Plain;
};

struct CommandRoutes {
    const char* name;
    CommandId command;
    const char* menu; // the menu bar menu holding the item; 标签(&B) is also the tree's pop-up
    const char* item;
    Qt::Key shortcut; // with Ctrl; Qt::Key_unknown for none
    int toolbarIndex; // -1 for none
    FirstDialog first;
};

constexpr const char* kFileMenu = "文件(&F)";
constexpr const char* kLabelMenu = "标签(&B)";
constexpr Qt::Key kNoKey = Qt::Key_unknown;
constexpr DialogKind kMessage = DialogKind::Message;

const CommandRoutes kCommands[] = {
    {"NewDocument",
     CommandId::NewDocument,
     kFileMenu,
     "新建文档(&N)",
     Qt::Key_N,
     0,
     {DialogKind::SaveFile, "", "新建文档"}},
    {"OpenDocument",
     CommandId::OpenDocument,
     kFileMenu,
     "打开(&O)",
     Qt::Key_O,
     1,
     {DialogKind::OpenFile, "", "打开"}},
    {"SaveDocumentCopy",
     CommandId::SaveDocumentCopy,
     kFileMenu,
     "另存为...(&L)",
     kNoKey,
     -1,
     {DialogKind::SaveFile, "", "另存为"}},
    {"DeleteDocumentFile",
     CommandId::DeleteDocumentFile,
     kFileMenu,
     "删除文件(&D)",
     kNoKey,
     -1,
     {kMessage, "确定删除“{dir}/a.txt”文件吗？", "询问：", MessageStyle::YesNoQuestion}},
    // The start-up backup exists and the manual one does not: each restore names its own prefix.
    {"RestoreAutomaticBackup",
     CommandId::RestoreAutomaticBackup,
     kFileMenu,
     "还原备份",
     kNoKey,
     -1,
     {kMessage, "还原成功", "信息：", MessageStyle::Information}},
    {"ManualBackup",
     CommandId::ManualBackup,
     kFileMenu,
     "手动备份",
     kNoKey,
     -1,
     {kMessage, "备份成功", "信息：", MessageStyle::Information}},
    {"RestoreManualBackup",
     CommandId::RestoreManualBackup,
     kFileMenu,
     "还原手动备份",
     kNoKey,
     -1,
     {kMessage, "找不到备份文件", "信息：", MessageStyle::Warning}},
    {"NewLabel",
     CommandId::NewLabel,
     kLabelMenu,
     "新建(&J)",
     Qt::Key_J,
     3,
     {DialogKind::Text, "输入新标签："}},
    {"SaveLabel",
     CommandId::SaveLabel,
     kLabelMenu,
     "保存(&S)",
     Qt::Key_S,
     4,
     {DialogKind::Text, "输入此信息的标签名称："}},
    {"SaveLabelToDocument",
     CommandId::SaveLabelToDocument,
     kLabelMenu,
     "另存(&L)",
     Qt::Key_L,
     -1,
     {DialogKind::SaveFile, "", "另存标签"}},
    {"RenameNode",
     CommandId::RenameNode,
     kLabelMenu,
     "重命名(&M)",
     Qt::Key_M,
     -1,
     {DialogKind::Text, "输入新文件名："}},
    {"DeleteNode",
     CommandId::DeleteNode,
     kLabelMenu,
     "删除(&D)",
     Qt::Key_D,
     5,
     {kMessage, "确定删除分类“a”吗？", "信息：", MessageStyle::YesNoQuestion}},
    {"ShowWholeDocument",
     CommandId::ShowWholeDocument,
     kLabelMenu,
     "显示整个文件(&Q)",
     Qt::Key_Q,
     -1,
     {}},
};

struct RouteCase {
    const CommandRoutes* command;
    Route route;
};

void PrintTo(const RouteCase& c, std::ostream* out) {
    *out << c.command->name << " from " << RouteName(c.route);
}

// Every route each command has: the menu item always, the others where the tables give them.
std::vector<RouteCase> AllRoutes() {
    std::vector<RouteCase> cases;
    for (const CommandRoutes& command : kCommands) {
        cases.push_back({&command, Route::MenuItem});
        if (command.shortcut != kNoKey) {
            cases.push_back({&command, Route::Shortcut});
        }
        if (command.toolbarIndex >= 0) {
            cases.push_back({&command, Route::ToolbarButton});
        }
        if (std::string_view(command.menu) == kLabelMenu) {
            cases.push_back({&command, Route::TreePopup});
        }
    }
    return cases;
}

QAction* FindItem(const QMenu& menu, const char* caption) {
    for (QAction* action : menu.actions()) {
        if (action->text() == QString::fromUtf8(caption)) {
            return action;
        }
    }
    return nullptr;
}

class CommandRoutesTest : public MainWindowTest, public ::testing::WithParamInterface<RouteCase> {
protected:
    void SetUp() override {
        WriteFile("a.txt", kDocument);
        WriteSettings(kSettings);
        Start();
        ShowActive();
    }

    QMenu* MenuBarMenu(const char* caption) {
        for (QAction* top : Window().menuBar()->actions()) {
            if (top->menu() != nullptr && top->text() == QString::fromUtf8(caption)) {
                return top->menu();
            }
        }
        return nullptr;
    }

    // A click on the document node "a", as the user makes it: the node is loaded.
    void ClickDocumentNode(Qt::MouseButton button) {
        QTreeWidget* tree = Window().tree().widget();
        const QRect node = tree->visualItemRect(tree->topLevelItem(0));
        QTest::mouseClick(tree->viewport(), button, {}, node.center());
    }

    void Run(const RouteCase& c) {
        const CommandRoutes& command = *c.command;
        switch (c.route) {
        case Route::MenuItem: {
            const QMenu* menu = MenuBarMenu(command.menu);
            ASSERT_NE(menu, nullptr) << command.menu;
            QAction* item = FindItem(*menu, command.item);
            ASSERT_NE(item, nullptr) << command.item;
            EXPECT_EQ(item, Window().action(command.command)) << command.item;
            item->trigger();
            break;
        }
        case Route::Shortcut: {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::keyClick(focus, command.shortcut, Qt::ControlModifier);
            break;
        }
        case Route::ToolbarButton: {
            const QList<QAction*> entries = Window().toolBar()->actions();
            ASSERT_LT(command.toolbarIndex, entries.size());
            auto* button = qobject_cast<QToolButton*>(
                Window().toolBar()->widgetForAction(entries[command.toolbarIndex]));
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
        case Route::TreePopup: {
            // The right click made the pop-up; a click on its item runs it.
            QMenu* popup = Window().treePopup();
            ASSERT_TRUE(WaitUntil([popup] { return popup->isVisible(); }));
            ASSERT_EQ(popup, MenuBarMenu(kLabelMenu));
            QAction* item = FindItem(*popup, command.item);
            ASSERT_NE(item, nullptr) << command.item;
            QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
            EXPECT_TRUE(WaitUntil([popup] { return !popup->isVisible(); }));
            break;
        }
        }
    }
};

TEST_P(CommandRoutesTest, RunsTheCommand) {
    const RouteCase& c = GetParam();
    const FirstDialog& first = c.command->first;
    ClickDocumentNode(c.route == Route::TreePopup ? Qt::RightButton : Qt::LeftButton);
    ASSERT_EQ(Window().tree().Selection(), 0);
    ASSERT_EQ(Window().editBox().ReadText(), "one");
    if (first.kind == DialogKind::Message) {
        dialogs_.ExpectMessage(ui::MessageAnswer::No);
    } else if (first.kind) {
        dialogs_.ExpectCancel();
    }

    Run(c);

    if (!first.kind) {
        EXPECT_TRUE(dialogs_.Shown().empty());
        EXPECT_EQ(Window().editBox().ReadText(), kDocument);
        return;
    }
    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    const ShownDialog& shown = dialogs_.Shown().front();
    EXPECT_EQ(shown.kind, *first.kind) << shown;
    EXPECT_EQ(shown.text, InDir(first.text, Dir())) << shown;
    EXPECT_EQ(shown.title, first.title) << shown;
    EXPECT_EQ(shown.style, first.style) << shown;
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, CommandRoutesTest, ::testing::ValuesIn(AllRoutes()),
                         [](const auto& param) {
                             return std::string(param.param.command->name) + "_" +
                                    RouteName(param.param.route);
                         });

} // namespace
} // namespace quorvel::app::testing
