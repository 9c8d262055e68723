// Replays every input kept in fuzz/corpus through the fuzz targets' bodies. A body that finds a
// broken invariant aborts, which fails the test named after the input.
#include "fuzz/FuzzTargets.h"
#include "support/CaseName.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Body = int (*)(const std::uint8_t*, std::size_t);

std::vector<std::filesystem::path> CorpusFiles(const char* target) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(QUORVEL_FUZZ_CORPUS_DIR) / target;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Each test reads as its corpus file's name.
std::string TestName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    return quorvel::testing::SafeName(info.param.filename().string());
}

void Replay(const std::filesystem::path& file, Body body) {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in.good()) << file;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    body(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

class SectionCorpus : public ::testing::TestWithParam<std::filesystem::path> {};
class ProfileCorpus : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(SectionCorpus, KeepsEveryInvariant) {
    Replay(GetParam(), quorvel::fuzz::RunSectionInput);
}
TEST_P(ProfileCorpus, KeepsEveryInvariant) {
    Replay(GetParam(), quorvel::fuzz::RunProfileInput);
}

// An empty or missing corpus folder leaves a suite without instances, which GoogleTest reports
// as a failure, so a wrong path cannot pass silently.
INSTANTIATE_TEST_SUITE_P(Inputs, SectionCorpus, ::testing::ValuesIn(CorpusFiles("section")),
                         TestName);
INSTANTIATE_TEST_SUITE_P(Inputs, ProfileCorpus, ::testing::ValuesIn(CorpusFiles("profile")),
                         TestName);

} // namespace
