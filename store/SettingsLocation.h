#pragma once

#include "store/FileIo.h"

// Where kelmora.ini lives: beside the executable (portable use) when that directory holds one
// already or is writable; otherwise $XDG_CONFIG_HOME/quorvel/kelmora.ini, by default
// ~/.config/quorvel/kelmora.ini. Decided once per run; the directory is made on the first write.
namespace quorvel::store {

inline constexpr std::string_view kSettingsFileName = "kelmora.ini";

// What decides where the settings file lives, as plain values; the caller owns it, and tests give
// their own in place of the process's.
struct SettingsEnvironment {
    Path executableDirectory;
    Path xdgConfigHome; // "" when unset
    Path home;          // "" when unset
};

Path SettingsFilePath(const SettingsEnvironment& environment);

// The environment of this process: the directory of /proc/self/exe, XDG_CONFIG_HOME and HOME.
SettingsEnvironment CurrentSettingsEnvironment();

} // namespace quorvel::store
