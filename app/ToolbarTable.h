#pragma once

#include "app/CommandId.h"

#include <QStyle>
#include <span>
#include <string_view>

// The toolbar as one table: 15 entries, buttons and separators, indexed from 0 with the
// separators counted. A button shows only its image (the desktop's icon theme, or the style's
// standard icon where the theme has none) and its tooltip.
namespace quorvel::app {

class CommandRegistry;

enum class ToolbarEntryKind { Button, Separator };

// One row of the toolbar table, a constant over static strings.
struct ToolbarEntry {
    ToolbarEntryKind kind = ToolbarEntryKind::Separator;
    std::string_view tooltip; // UTF-8
    std::string_view themeIcon;
    QStyle::StandardPixmap fallbackIcon = QStyle::SP_CustomBase;
    CommandId command = CommandId::NewDocument;
};

std::span<const ToolbarEntry> ToolbarTable();

// A click on the toolbar reports the entry's index; the row's command runs. An index without a
// command (a separator, or outside the table) does nothing.
void HandleToolbarButton(int index, const CommandRegistry& commands);

} // namespace quorvel::app
