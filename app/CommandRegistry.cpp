#include "app/CommandRegistry.h"

#include <utility>

namespace quorvel::app {

void CommandRegistry::Connect(CommandId id, Handler handler) {
    handlers_.insert_or_assign(id, std::move(handler));
}

bool CommandRegistry::IsConnected(CommandId id) const {
    return handlers_.contains(id);
}

RunOutcome CommandRegistry::Run(CommandId id) const {
    const auto found = handlers_.find(id);
    if (found == handlers_.end() || !found->second) {
        return RunOutcome::NotConnected;
    }
    // A copy, so that a handler that reconnects its own id does not destroy itself while running.
    const Handler handler = found->second;
    handler();
    return RunOutcome::Ran;
}

} // namespace quorvel::app
