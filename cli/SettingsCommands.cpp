#include "cli/Commands.h"
#include "cli/Reports.h"
#include "store/Settings.h"
#include "text/TextOps.h"
#include "text/Words.h"

#include <algorithm>
#include <array>

namespace quorvel::cli {
namespace {

// What a registry outcome tells the user: the exit status, and the message with what it names.
enum class Subject { Nothing, Path, SettingsFile };

struct RegistryReport {
    store::RegistryOutcome outcome;
    Status status;
    std::string_view message; // empty: nothing is said
    Subject subject;
};

constexpr std::array kRegistryReports{
    RegistryReport{store::RegistryOutcome::Done, Status::Success, "", Subject::Nothing},
    RegistryReport{store::RegistryOutcome::AlreadyThere, Status::Negative, "already registered",
                   Subject::Path},
    RegistryReport{store::RegistryOutcome::NotThere, Status::Negative, "not registered",
                   Subject::Path},
    RegistryReport{store::RegistryOutcome::EmptyPath, Status::Negative,
                   "refused: an empty path would hide every entry after it", Subject::Nothing},
    RegistryReport{store::RegistryOutcome::ReservedWord, Status::Negative,
                   "refused: 空 marks a removed entry and is never listed", Subject::Nothing},
    RegistryReport{store::RegistryOutcome::TooLong, Status::Negative,
                   "refused: a path longer than 10239 bytes would read back cut", Subject::Nothing},
    RegistryReport{store::RegistryOutcome::LineBreak, Status::Negative,
                   "refused: the registry cannot hold a line break", Subject::Nothing},
    RegistryReport{store::RegistryOutcome::WriteFailed, Status::FileError, "cannot write",
                   Subject::SettingsFile},
};

// path is what the operation looked for: the registered path, or the old one of a rename.
Status ReportRegistry(const Invocation& run, store::RegistryOutcome outcome, const store::Path& ini,
                      const Text& path) {
    const auto report = std::find_if(kRegistryReports.begin(), kRegistryReports.end(),
                                     [&](const RegistryReport& r) { return r.outcome == outcome; });
    if (report == kRegistryReports.end()) {
        return WriteFailed(run, ini);
    }
    switch (report->subject) {
    case Subject::Nothing:
        if (!report->message.empty()) {
            run.console.Complain(report->message);
        }
        break;
    case Subject::Path:
        run.console.Complain(report->message, path);
        break;
    case Subject::SettingsFile:
        run.console.Complain(report->message, PathWithProblem(ini));
        break;
    }
    return report->status;
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
    case store::ProfileWriteOutcome::TooLong:
        run.console.Complain("refused: a value longer than 10239 bytes would read back cut");
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

Status RegisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& path = run.arguments[1];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    return ReportRegistry(run, store::RegisterDocument(settings, path), settings.path(), path);
}

Status UnregisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& path = run.arguments[1];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    store::RegistryOutcome outcome = store::UnregisterDocument(settings, path);
    if (outcome == store::RegistryOutcome::NotThere) {
        outcome = store::RegistryOutcome::Done; // a path not registered is already unregistered
    }
    return ReportRegistry(run, outcome, settings.path(), path);
}

Status ReregisterCommand(const Invocation& run) {
    store::Settings settings(run.arguments[0]);
    const Text& oldPath = run.arguments[1];
    if (CannotRead(run, settings.path())) {
        return Status::FileError;
    }
    return ReportRegistry(run, store::RenameRegisteredDocument(settings, oldPath, run.arguments[2]),
                          settings.path(), oldPath);
}

} // namespace quorvel::cli
