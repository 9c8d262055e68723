#include "store/SettingsLocation.h"

#include "store/settings/SettingsTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorvel::store {
namespace {

using testing::ChildResult;
using testing::RunWithoutPrivileges;
using testing::SetMode;
using testing::TempDir;
using testing::WriteBytes;

struct LocationCase {
    const char* what;
    std::string executableDirectory; // under the temporary directory
    std::string xdgConfigHome;
    std::string home;
    std::string expected; // "@" stands for the temporary directory
};

TEST(SettingsLocation, BesideTheProgramOrInTheUsersConfiguration) {
    TempDir dir;
    SetMode(dir.path(), 0755);
    ASSERT_EQ(::mkdir(dir.File("portable").c_str(), 0755), 0);
    WriteBytes(dir.File("portable/kelmora.ini"), "");
    ASSERT_EQ(::mkdir(dir.File("open").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(dir.File("installed").c_str(), 0755), 0);
    SetMode(dir.File("open"), 0777);
    SetMode(dir.File("portable"), 0555);
    SetMode(dir.File("installed"), 0555);

    const LocationCase cases[] = {
        {"file beside the program", "portable", "/x/cfg", "/home/u", "@/portable/kelmora.ini"},
        {"writable program directory", "open", "/x/cfg", "/home/u", "@/open/kelmora.ini"},
        {"trailing slash", "open/", "/x/cfg", "/home/u", "@/open/kelmora.ini"},
        {"configuration home", "installed", "/x/cfg", "/home/u", "/x/cfg/quorvel/kelmora.ini"},
        {"no configuration home", "installed", "", "/home/u",
         "/home/u/.config/quorvel/kelmora.ini"},
        {"relative configuration home", "installed", "cfg", "/home/u/",
         "/home/u/.config/quorvel/kelmora.ini"},
        {"missing program directory", "gone", "/x/cfg/", "/home/u", "/x/cfg/quorvel/kelmora.ini"},
    };
    for (const LocationCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SettingsEnvironment environment{dir.File(c.executableDirectory), c.xdgConfigHome,
                                              c.home};
        std::string expected = c.expected;
        if (expected.front() == '@') {
            expected.replace(0, 1, dir.path());
        }
        const ChildResult result =
            RunWithoutPrivileges([&] { return SettingsFilePath(environment) == expected; });
        if (result == ChildResult::CannotDropPrivileges) {
            GTEST_SKIP() << "cannot run as an unprivileged user";
        }
        EXPECT_EQ(result, ChildResult::True) << SettingsFilePath(environment);
    }
}

TEST(SettingsLocation, ReadsTheEnvironmentOfTheProcess) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string original = saved != nullptr ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    const SettingsEnvironment environment = CurrentSettingsEnvironment();
    if (saved != nullptr) {
        ::setenv("XDG_CONFIG_HOME", original.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(environment.xdgConfigHome, "/x/cfg");
    // The directory of the running test program.
    EXPECT_TRUE(FileExists(environment.executableDirectory + "/settings_tests"))
        << environment.executableDirectory;
}

} // namespace
} // namespace quorvel::store
