#include "store/SettingsLocation.h"

#include "store/Path.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace quorvel::store {
namespace {

// The directory, one "/" and the name; "" when there is no directory to put it in.
Path InDirectory(Path directory, std::string_view name) {
    if (directory.empty()) {
        return {};
    }
    while (!directory.empty() && directory.back() == '/') {
        directory.pop_back(); // "/" itself becomes "" and gets its slash back below
    }
    return directory + "/" + std::string(name);
}

bool IsAbsolute(const Path& path) {
    return !path.empty() && path.front() == '/';
}

Path Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? Path(value) : Path();
}

} // namespace

Path SettingsFilePath(const SettingsEnvironment& environment) {
    Path beside = InDirectory(environment.executableDirectory, kSettingsFileName);
    if (!beside.empty() &&
        (FileExists(beside) || ::access(environment.executableDirectory.c_str(), W_OK) == 0)) {
        return beside;
    }
    if (IsAbsolute(environment.xdgConfigHome)) {
        return InDirectory(InDirectory(environment.xdgConfigHome, "quorvel"), kSettingsFileName);
    }
    if (IsAbsolute(environment.home)) {
        return InDirectory(InDirectory(environment.home, ".config/quorvel"), kSettingsFileName);
    }
    return beside; // nowhere better: reads give defaults and writes fail quietly
}

SettingsEnvironment CurrentSettingsEnvironment() {
    SettingsEnvironment environment;
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length > 0 && static_cast<std::size_t>(length) < buffer.size()) {
        const Path executable(buffer.data(), static_cast<std::size_t>(length));
        // The kernel names it by an absolute path; any other answer leaves the directory unknown.
        if (executable.find('/') != Path::npos) {
            environment.executableDirectory = DirectoryOf(executable);
        }
    }
    environment.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    environment.home = Environment("HOME");
    return environment;
}

} // namespace quorvel::store
