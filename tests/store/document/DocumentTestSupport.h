#pragma once

#include "store/Document.h"
#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "support/TempDir.h"
#include "text/CodePage.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quorvel::testing {

using namespace std::string_literals;

// Runs body in a child process and gives back its exit code, or -1 when it did not exit.
// An alarm ends a child that hangs.
inline int ExitCodeOfChild(const std::function<int()>& body, unsigned seconds = 30) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(seconds);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// A document path in a fresh directory; the file starts missing.
class DocumentTest : public ::testing::Test {
protected:
    // Writes the document, or leaves it missing for nullopt.
    void Seed(const std::optional<std::string>& bytes) const {
        if (bytes) {
            WriteBytes(path_, *bytes);
        }
    }
    bool Exists() const { return std::filesystem::exists(path_); }
    std::string Bytes() const { return ReadBytes(path_); }

    // Names in the directory: a rewrite leaves no temporary file behind.
    std::vector<std::string> DirectoryEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    TempDir dir_;
    std::string path_ = dir_.File("notes.txt");
};

} // namespace quorvel::testing
