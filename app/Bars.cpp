#include "app/Bars.h"

#include "app/CommandRegistry.h"
#include "app/MenuTable.h"
#include "app/ToolbarTable.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

namespace quorvel::app {
namespace {

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QAction* AddItem(QMenu& menu, QWidget& window, const MenuEntry& entry,
                 const CommandRegistry& commands) {
    const QKeySequence shortcut(FromUtf8(entry.shortcut), QKeySequence::PortableText);
    QString caption = FromUtf8(entry.caption);
    // A tab in the caption puts the rest in the menu's shortcut column, without binding the key.
    if (entry.binding == ShortcutBinding::ShownOnly && !shortcut.isEmpty()) {
        caption += QLatin1Char('\t') + shortcut.toString(QKeySequence::NativeText);
    }
    QAction* action = menu.addAction(caption);
    action->setCheckable(entry.checkable == Checkable::Yes);
    if (entry.binding == ShortcutBinding::Bound && !shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action); // active while any control of the window has the focus
    }
    const CommandId command = entry.command;
    QObject::connect(action, &QAction::triggered, &menu,
                     [&commands, command] { commands.Run(command); });
    return action;
}

void AddEntries(QMenu& menu, QWidget& window, std::span<const MenuEntry> entries,
                const CommandRegistry& commands, MenuBarParts& parts) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntryKind::Separator:
            menu.addSeparator();
            break;
        case MenuEntryKind::Submenu: {
            QMenu* submenu = menu.addMenu(FromUtf8(entry.caption));
            AddEntries(*submenu, window, entry.submenu, commands, parts);
            break;
        }
        case MenuEntryKind::Item:
            parts.actions.emplace(entry.command, AddItem(menu, window, entry, commands));
            break;
        }
    }
}

} // namespace

MenuBarParts BuildMenuBar(QMenuBar& bar, QWidget& window, const CommandRegistry& commands) {
    MenuBarParts parts;
    for (const MenuDefinition& definition : MenuBarTable()) {
        QMenu* menu = bar.addMenu(FromUtf8(definition.caption));
        AddEntries(*menu, window, definition.entries, commands, parts);
        if (definition.role == MenuRole::TreePopup) {
            parts.treePopup = menu;
        }
    }
    return parts;
}

void BuildToolbar(QToolBar& bar, const CommandRegistry& commands) {
    const std::span<const ToolbarEntry> table = ToolbarTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ToolbarEntry& entry = table[i];
        if (entry.kind == ToolbarEntryKind::Separator) {
            bar.addSeparator();
            continue;
        }
        const QIcon icon = QIcon::fromTheme(FromUtf8(entry.themeIcon),
                                            bar.style()->standardIcon(entry.fallbackIcon));
        QAction* action = bar.addAction(icon, FromUtf8(entry.tooltip));
        action->setToolTip(FromUtf8(entry.tooltip));
        const int index = static_cast<int>(i);
        QObject::connect(action, &QAction::triggered, &bar,
                         [&commands, index] { HandleToolbarButton(index, commands); });
    }
}

} // namespace quorvel::app
