#include "cli/Reports.h"

namespace quorvel::cli {

bool CannotRead(const Invocation& run, const store::Path& path) {
    if (ProbePath(path) != PathState::Unreadable) {
        return false;
    }
    run.console.Complain("cannot read", PathWithProblem(path));
    return true;
}

Status WriteFailed(const Invocation& run, const store::Path& path) {
    run.console.Complain("cannot write", PathWithProblem(path));
    return Status::FileError;
}

} // namespace quorvel::cli
