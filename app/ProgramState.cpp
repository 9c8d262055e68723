#include "app/ProgramState.h"

namespace quorvel::app {

std::unique_ptr<ProgramState> CreateProgramState() {
    auto state = std::make_unique<ProgramState>();
    state->history.InitHistory();
    return state;
}

void ReleaseProgramState(std::unique_ptr<ProgramState>& state) {
    state.reset();
}

} // namespace quorvel::app
