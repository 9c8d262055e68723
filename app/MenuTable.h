#pragma once

#include "app/CommandId.h"

#include <span>
#include <string_view>

// The menu bar as one table: six menus, their items in order with captions, shortcuts and the
// command each runs, the separators, and the 系统工具 submenu. Captions are UTF-8; shortcuts are
// in Qt's portable form ("Ctrl+N"), "" for none.
namespace quorvel::app {

enum class MenuEntryKind { Item, Separator, Submenu };

// A Bound shortcut is the item's key; a ShownOnly one stands beside the caption as text alone,
// because the same key belongs to an earlier item (Ctrl+Y runs 重复, 背景色(&Y) only shows it).
enum class ShortcutBinding { Bound, ShownOnly };

enum class Checkable { No, Yes };

// One row of the menu table, a constant that points into the table's own static data.
struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Separator;
    std::string_view caption;
    std::string_view shortcut;
    CommandId command = CommandId::NewDocument;
    ShortcutBinding binding = ShortcutBinding::Bound;
    Checkable checkable = Checkable::No;
    std::span<const MenuEntry> submenu;
};

// The menu that also opens as the tree's pop-up.
enum class MenuRole { MenuBarOnly, TreePopup };

// One menu of the table, a constant over static rows.
struct MenuDefinition {
    std::string_view caption;
    std::span<const MenuEntry> entries;
    MenuRole role = MenuRole::MenuBarOnly;
};

std::span<const MenuDefinition> MenuBarTable();

} // namespace quorvel::app
