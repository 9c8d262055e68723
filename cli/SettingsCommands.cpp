#include "cli/Commands.h"
#include "store/Settings.h"
#include "text/Words.h"

#include <algorithm>

namespace quorvel::cli {
namespace {

// A settings file that is there but cannot be read would read as all defaults, which is not
// what the user asked for.
bool CannotRead(const Invocation& run, const store::Path& ini) {
    if (ProbePath(ini) != PathState::Unreadable) {
        return false;
    }
    run.console.Complain("cannot read", PathWithProblem(ini));
    return true;
}

Status WriteFailed(const Invocation& run, const store::Path& ini) {
    run.console.Complain("cannot write", PathWithProblem(ini));
    return Status::FileError;
}

bool HoldsLineBreak(std::string_view value) {
    return value.find_first_of("\r\n") != std::string_view::npos;
}

std::size_t TimesRegistered(const store::Settings& settings, const Text& path) {
    const std::vector<Text> entries = store::EnumerateRegistry(settings);
    return static_cast<std::size_t>(std::count(entries.begin(), entries.end(), path));
}

} // namespace

Status GetCommand(const Invocation& run) {
    const store::Settings settings(run.arguments[0]);
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    const Text defaultValue = run.arguments.size() > 3 ? run.arguments[3] : Text();
    run.console.Out(settings.ReadSetting(run.arguments[1], run.arguments[2], defaultValue));
    run.console.Out("\n");
    return Status::Success;
}

Status SetCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    switch (settings.WriteSetting(run.arguments[1], run.arguments[2], run.arguments[3])) {
    case store::ProfileWriteOutcome::Written:
        return Status::Success;
    case store::ProfileWriteOutcome::Refused:
        run.console.Complain("refused: the settings file cannot hold that section, key or value");
        return Status::Negative;
    case store::ProfileWriteOutcome::WriteFailed:
        break;
    }
    return WriteFailed(run, settings.path());
}

Status RegistryCommand(const Invocation& run) {
    const store::Settings settings(run.arguments[0]);
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    for (const Text& path : store::EnumerateRegistry(settings)) {
        run.console.Out(path);
        run.console.Out("\n");
    }
    return Status::Success;
}

// RegisterDocument and RenameRegisteredDocument answer false both for a path they must not write
// and for a failed write; the registry as it stands tells the two apart.
Status RegisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& path = run.arguments[1];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    if (store::RegisterDocument(settings, path)) {
        return Status::Success;
    }
    if (TimesRegistered(settings, path) > 0) {
        run.console.Complain("already registered", path);
        return Status::Negative;
    }
    if (HoldsLineBreak(path) || path == text::InterfaceText("空")) {
        run.console.Complain("refused: the registry cannot hold that path");
        return Status::Negative;
    }
    return WriteFailed(run, settings.path());
}

Status UnregisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& path = run.arguments[1];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    const std::size_t before = TimesRegistered(settings, path);
    store::UnregisterDocument(settings, path);
    if (before > 0 && TimesRegistered(settings, path) == before) {
        return WriteFailed(run, settings.path());
    }
    return Status::Success;
}

Status ReregisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& oldPath = run.arguments[1];
    const Text& newPath = run.arguments[2];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    if (store::RenameRegisteredDocument(settings, oldPath, newPath)) {
        return Status::Success;
    }
    if (TimesRegistered(settings, oldPath) == 0) {
        run.console.Complain("not registered", oldPath);
        return Status::Negative;
    }
    if (HoldsLineBreak(newPath)) {
        run.console.Complain("refused: the registry cannot hold that path");
        return Status::Negative;
    }
    return WriteFailed(run, settings.path());
}

} // namespace quorvel::cli
