#pragma once

#include "text/CodePage.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

// What the fuzz targets share: reading choices from the input bytes, a private scratch
// directory, and the invariant check that stops the process (a crash is what libFuzzer records,
// and what makes a replayed corpus input fail its test).
namespace quorvel::fuzz {

// The steps of the input being run, printed when a check fails so the failure can be read
// without a debugger.
inline std::string& Trail() {
    static std::string trail;
    return trail;
}

inline void Note(std::string_view step) {
    Trail().append(step);
    Trail().push_back('\n');
}

// Bytes with their control and high bytes escaped, for the trail.
inline std::string Escaped(std::string_view bytes, std::size_t limit = 120) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out.push_back(static_cast<char>(byte));
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", byte);
        out.append(hex);
    }
    out.append(bytes.size() > limit ? "\"..." : "\"");
    return out;
}

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\nsteps of this input:\n%s\n", file, line,
                 condition, Trail().c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace quorvel::fuzz

// A macro so that the message names the broken condition and its line.
#define QUORVEL_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::quorvel::fuzz::Fail(#condition, __FILE__, __LINE__);                                 \
        }                                                                                          \
    } while (false)

namespace quorvel::fuzz {

// Takes choices from the front of the input; an exhausted input gives zeros and empty strings,
// so every input, however short, decodes to something.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return bytes_.empty(); }

    std::uint8_t Byte() {
        if (bytes_.empty()) {
            return 0;
        }
        const auto byte = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return byte;
    }

    // A little-endian 16-bit length.
    std::size_t Length16() {
        const std::size_t low = Byte();
        return low | (std::size_t{Byte()} << 8);
    }

    std::string Bytes(std::size_t count) {
        const std::string_view taken = bytes_.substr(0, count);
        bytes_.remove_prefix(taken.size());
        return std::string(taken);
    }

    // One length byte, then that many bytes.
    std::string ShortBytes() { return Bytes(Byte()); }

private:
    std::string_view bytes_;
};

// A directory of this process alone, named after its process id, made on first use on a memory
// file system where there is one (rewrites flush to disk, which would slow every run down).
// libFuzzer ends a run without running destructors, and a crash never does, so each new process
// first removes the directories of processes that are gone.
class ScratchDir {
public:
    static const std::string& Path() {
        static ScratchDir dir;
        return dir.path_;
    }

    // The names in the directory, to find temporary files that a write left behind.
    static std::vector<std::string> Entries() {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Path(), error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    ScratchDir() {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        RemoveLeftovers(base);
        path_ = (base / (kPrefix + std::to_string(::getpid()))).string();
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        if (!std::filesystem::create_directory(path_, error)) {
            std::fprintf(stderr, "cannot make %s\n", path_.c_str());
            std::abort();
        }
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    static void RemoveLeftovers(const std::filesystem::path& base) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(kPrefix)) {
                continue;
            }
            const std::string digits = name.substr(kPrefix.size());
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            const auto pid = static_cast<pid_t>(std::stol(digits));
            if (::kill(pid, 0) != 0 && errno == ESRCH) {
                std::error_code ignored;
                std::filesystem::remove_all(entry.path(), ignored);
            }
        }
    }

    static inline const std::string kPrefix = "quorvel-fuzz-";

    std::string path_;
};

// Makes the code page an input chose active and puts UTF-8 back afterwards, so that one input
// cannot change the next.
class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) { text::SetActiveCodePage(codePage); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;
    ~CodePageScope() { text::SetActiveCodePage(CodePage::Utf8); }
};

// Plain file access of the checks' own, so that what they see does not pass through the code
// under test.
inline void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

inline void WriteWhole(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::optional<std::string> ReadWhole(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace quorvel::fuzz
