#include "app/ProgramState.h"

namespace quorvel::app {

std::unique_ptr<ProgramState> InitGlobals() {
    auto state = std::make_unique<ProgramState>();
    state->history.InitHistory();
    return state;
}

void ReleaseGlobals(std::unique_ptr<ProgramState>& state) {
    state.reset();
}

} // namespace quorvel::app
