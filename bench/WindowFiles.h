#pragma once

#include "store/FileIo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The files the window benchmarks start from, made once per run in a fresh temporary directory
// and removed with it at the end: many registered documents of labelled sections and a settings
// file naming them, with a current document and its saved label.
namespace quorvel::bench {

struct NotebookShape {
    std::size_t documents = 500;
    std::size_t documentBytes = 200u << 10;
    std::size_t labelsPerDocument = 100;
};

// Lines of mixed Chinese and ASCII words, CR LF after each but the last, of exactly size bytes;
// the same seed gives the same text.
Text MakeNotesText(std::size_t size, std::uint64_t seed);

class WindowFiles {
public:
    explicit WindowFiles(NotebookShape shape);
    ~WindowFiles();
    WindowFiles(const WindowFiles&) = delete;
    WindowFiles& operator=(const WindowFiles&) = delete;

    const std::string& directory() const { return directory_; }
    const store::Path& settings() const { return settings_; }
    // A settings file that registers nothing: start-up with the window alone.
    const store::Path& emptySettings() const { return emptySettings_; }
    const std::vector<store::Path>& documents() const { return documents_; }
    std::size_t labelCount() const { return labelCount_; }
    const store::Path& currentDocument() const { return currentDocument_; }
    const Text& savedLabel() const { return savedLabel_; }

private:
    std::string directory_;
    store::Path settings_;
    store::Path emptySettings_;
    std::vector<store::Path> documents_;
    std::size_t labelCount_ = 0;
    store::Path currentDocument_;
    Text savedLabel_;
};

} // namespace quorvel::bench
