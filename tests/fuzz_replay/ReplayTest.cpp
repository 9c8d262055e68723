// Replays every input kept in fuzz/corpus through the fuzz targets' bodies. A body that finds a
// broken invariant aborts, which fails the test named after the input.
#include "fuzz/FuzzTargets.h"

#include <algorithm>
#include <cctype>
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

std::string TestName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.filename().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
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
