#pragma once

#include "app/CommandId.h"

#include <map>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// The menu bar and the toolbar made from their tables (MenuTable.h, ToolbarTable.h). Every item
// and button runs its command through the registry, so an item whose command has no handler yet
// does nothing.
namespace quorvel::app {

class CommandRegistry;

// What BuildMenuBar hands back: pointers into the menu bar, which owns the actions and the
// pop-up; the main window keeps them for the bar's whole life.
struct MenuBarParts {
    std::map<CommandId, QAction*> actions;
    QMenu* treePopup = nullptr; // 标签(&B), also the tree's pop-up
};

// Shortcuts are the window's: they work while any control of the window has the focus.
MenuBarParts BuildMenuBar(QMenuBar& bar, QWidget& window, const CommandRegistry& commands);

void BuildToolbar(QToolBar& bar, const CommandRegistry& commands);

} // namespace quorvel::app
