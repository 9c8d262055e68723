#pragma once

#include "support/CodePageScope.h"
#include "support/TempDir.h"

#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvel::testing {

inline void SetMode(const std::string& path, mode_t mode) {
    ::chmod(path.c_str(), mode);
}

enum class ChildResult { True, False, CannotDropPrivileges };

// Runs the check with permissions that apply: as root, in a child process that has become the
// unprivileged user "nobody" (65534), since root may write anywhere. The check must not use
// GoogleTest assertions, and the paths it uses must be reachable by that user.
inline ChildResult RunWithoutPrivileges(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check() ? ChildResult::True : ChildResult::False;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return ChildResult::CannotDropPrivileges;
    }
    switch (WEXITSTATUS(status)) {
    case 0:
        return ChildResult::True;
    case 1:
        return ChildResult::False;
    default:
        return ChildResult::CannotDropPrivileges;
    }
}

} // namespace quorvel::testing
