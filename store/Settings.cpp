#include "store/Settings.h"

#include "text/Words.h"

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

bool RegisterDocument(Settings& settings, const Text& path) {
    const SettingsUpdate update(settings);
    if (!update.held()) {
        return false;
    }
    if (path.find_first_of("\r\n") != Text::npos) {
        return false; // the settings file cannot hold it; the walk would never find it again
    }
    for (std::size_t number = 1;; ++number) {
        const Text key = RegistryKey(number);
        const Text value = settings.ReadSetting(RegistrySection(), key);
        if (value == path) {
            return false;
        }
        if (value.empty()) {
            return settings.WriteSetting(RegistrySection(), key, path) ==
                   ProfileWriteOutcome::Written;
        }
    }
}

void UnregisterDocument(Settings& settings, const Text& path) {
    const SettingsUpdate update(settings);
    if (!update.held()) {
        return;
    }
    for (std::size_t number = 1;; ++number) {
        const Text key = RegistryKey(number);
        const Text value = settings.ReadSetting(RegistrySection(), key);
        if (value.empty()) {
            return;
        }
        if (value == path) {
            settings.WriteSetting(RegistrySection(), key, RemovedMark());
            return;
        }
    }
}

bool RenameRegisteredDocument(Settings& settings, const Text& oldPath, const Text& newPath) {
    const SettingsUpdate update(settings);
    if (!update.held()) {
        return false;
    }
    for (std::size_t number = 1;; ++number) {
        const Text key = RegistryKey(number);
        const Text value = settings.ReadSetting(RegistrySection(), key);
        if (value.empty()) {
            return false;
        }
        if (value == oldPath) {
            return settings.WriteSetting(RegistrySection(), key, newPath) ==
                   ProfileWriteOutcome::Written;
        }
    }
}

std::vector<Text> EnumerateRegistry(const Settings& settings) {
    std::vector<Text> entries;
    for (std::size_t number = 1;; ++number) {
        Text value = settings.ReadSetting(RegistrySection(), RegistryKey(number));
        if (value.empty()) {
            return entries;
        }
        if (value != RemovedMark()) {
            entries.push_back(std::move(value));
        }
    }
}

} // namespace quorvel::store
