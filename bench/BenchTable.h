#pragma once

#include <cstdio>
#include <string>

// The Markdown rows both benchmark programs print: operation | value | baseline | ratio | goal |
// met.
namespace quorvel::bench {

inline std::string Milliseconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    return text;
}

inline std::string Size(std::size_t bytes) {
    char text[32];
    if (bytes < (1U << 20)) {
        std::snprintf(text, sizeof text, "%.1f KiB", static_cast<double>(bytes) / (1 << 10));
    } else {
        std::snprintf(text, sizeof text, "%.2f MiB", static_cast<double>(bytes) / (1 << 20));
    }
    return text;
}

inline std::string Ratio(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

inline const char* Met(bool met) {
    return met ? "yes" : "**no**";
}

inline void Row(const std::string& operation, const std::string& value, const std::string& baseline,
                const std::string& ratio, const std::string& goal, const char* met) {
    std::printf("| %s | %s | %s | %s | %s | %s |\n", operation.c_str(), value.c_str(),
                baseline.c_str(), ratio.c_str(), goal.c_str(), met);
}

} // namespace quorvel::bench
