#pragma once

#include "app/CommandId.h"

#include <functional>
#include <map>

// The one place where a command id meets its handler. The menu bar and the toolbar both run
// their commands through it, so a command becomes available everywhere by connecting one handler.
namespace quorvel::app {

enum class RunOutcome { Ran, NotConnected };

// Owns the handlers (copies of what Connect was given). Owned by the main window; the menu bar
// and the toolbar only run commands through it.
class CommandRegistry {
public:
    using Handler = std::function<void()>;

    // Connects the handler to the id, replacing any earlier one.
    void Connect(CommandId id, Handler handler);
    bool IsConnected(CommandId id) const;
    // Runs the id's handler; a command nobody has connected yet does nothing.
    RunOutcome Run(CommandId id) const;

private:
    std::map<CommandId, Handler> handlers_;
};

} // namespace quorvel::app
