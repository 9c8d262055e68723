#include "store/Settings.h"

#include "text/Words.h"

#include <optional>
#include <string>

namespace quorvel::store {
namespace {

const Text& RegistrySection() {
    return text::InterfaceText("文件");
}
const Text& RemovedMark() {
    return text::InterfaceText("空");
}
Text RegistryKey(std::size_t number) {
    return std::to_string(number);
}

} // namespace

Text Settings::ReadSetting(const Text& section, const Text& key, const Text& defaultValue) const {
    return file_.Read(section, key, defaultValue);
}

ProfileWriteOutcome Settings::WriteSetting(const Text& section, const Text& key,
                                           const Text& value) {
    return file_.Write(section, key, value);
}

Text Settings::ReadSetting(SettingName name, const Text& defaultValue) const {
    return ReadSetting(text::InterfaceText(name.section), text::InterfaceText(name.key),
                       defaultValue);
}

ProfileWriteOutcome Settings::WriteSetting(SettingName name, const Text& value) {
    return WriteSetting(text::InterfaceText(name.section), text::InterfaceText(name.key), value);
}

std::size_t WalkRegistry(const Settings& settings,
                         const std::function<WalkStep(std::size_t key, const Text& value)>& visit) {
    for (std::size_t number = 1;; ++number) {
        const Text value = settings.ReadSetting(RegistrySection(), RegistryKey(number));
        if (value.empty() || visit(number, value) == WalkStep::Stop) {
            return number;
        }
    }
}

namespace {

// Why the registry cannot hold the path: each of these would make an entry that no walk finds
// again as written.
std::optional<RegistryOutcome> RefusalOf(const Text& path) {
    if (path.empty()) {
        return RegistryOutcome::EmptyPath;
    }
    if (path == RemovedMark()) {
        return RegistryOutcome::ReservedWord;
    }
    if (path.find_first_of("\r\n") != Text::npos) {
        return RegistryOutcome::LineBreak;
    }
    if (path.size() > ProfileFile::kLongestValue) {
        return RegistryOutcome::TooLong;
    }
    return std::nullopt;
}

// The first key holding the path; a removed entry's mark is never a path.
std::optional<std::size_t> FindEntry(const Settings& settings, const Text& path) {
    std::optional<std::size_t> found;
    WalkRegistry(settings, [&](std::size_t key, const Text& value) {
        if (value != path || value == RemovedMark()) {
            return WalkStep::Continue;
        }
        found = key;
        return WalkStep::Stop;
    });
    return found;
}

RegistryOutcome WriteEntry(Settings& settings, std::size_t key, const Text& value) {
    switch (settings.WriteSetting(RegistrySection(), RegistryKey(key), value)) {
    case ProfileWriteOutcome::Written:
        return RegistryOutcome::Done;
    case ProfileWriteOutcome::Refused:
        return RegistryOutcome::LineBreak; // RefusalOf lets no other refusal through
    case ProfileWriteOutcome::TooLong:
        return RegistryOutcome::TooLong;
    case ProfileWriteOutcome::WriteFailed:
        break;
    }
    return RegistryOutcome::WriteFailed;
}

} // namespace

RegistryOutcome RegisterDocument(Settings& settings, const Text& path) {
    if (const std::optional<RegistryOutcome> refusal = RefusalOf(path)) {
        return *refusal;
    }
    const SettingsUpdate update(settings); // the walk and the write under one lock
    if (!update.held()) {
        return RegistryOutcome::WriteFailed;
    }
    bool found = false;
    // Unless it finds the path, the walk ends at the first empty key, which the entry fills.
    const std::size_t end = WalkRegistry(settings, [&](std::size_t, const Text& value) {
        found = value == path;
        return found ? WalkStep::Stop : WalkStep::Continue;
    });
    return found ? RegistryOutcome::AlreadyThere : WriteEntry(settings, end, path);
}

RegistryOutcome UnregisterDocument(Settings& settings, const Text& path) {
    const SettingsUpdate update(settings); // the walk and the write under one lock
    if (!update.held()) {
        return RegistryOutcome::WriteFailed;
    }
    const std::optional<std::size_t> key = FindEntry(settings, path);
    return key ? WriteEntry(settings, *key, RemovedMark()) : RegistryOutcome::NotThere;
}

RegistryOutcome RenameRegisteredDocument(Settings& settings, const Text& oldPath,
                                         const Text& newPath) {
    if (const std::optional<RegistryOutcome> refusal = RefusalOf(newPath)) {
        return *refusal;
    }
    const SettingsUpdate update(settings); // the walk and the write under one lock
    if (!update.held()) {
        return RegistryOutcome::WriteFailed;
    }
    const std::optional<std::size_t> key = FindEntry(settings, oldPath);
    return key ? WriteEntry(settings, *key, newPath) : RegistryOutcome::NotThere;
}

std::vector<Text> EnumerateRegistry(const Settings& settings) {
    std::vector<Text> entries;
    WalkRegistry(settings, [&](std::size_t, const Text& value) {
        if (value != RemovedMark()) {
            entries.push_back(value);
        }
        return WalkStep::Continue;
    });
    return entries;
}

} // namespace quorvel::store
