#pragma once

#include "store/Document.h"
#include "support/CaseName.h"
#include "support/CodePageScope.h"
#include "support/TempDir.h"
#include "text/CodePage.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::testing {

using namespace std::string_literals;

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
