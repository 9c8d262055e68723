#pragma once

#include "store/FileIo.h"

#include <cstddef>
#include <string>
#include <vector>

// The files the store benchmarks work on, made once per run in a fresh temporary directory and
// removed with it at the end: a large notebook document and a settings file with a full registry.
namespace quorvel::bench {

struct DocumentShape {
    std::size_t bytes = 64u << 20;
    std::size_t sections = 20000;
};

class BenchFiles {
public:
    BenchFiles(DocumentShape shape, std::size_t registryEntries);
    ~BenchFiles();
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

    const store::Path& document() const { return document_; }
    const store::Path& settings() const { return settings_; }
    const std::string& documentBytes() const { return documentBytes_; }
    const std::string& settingsBytes() const { return settingsBytes_; }
    const std::vector<Text>& labels() const { return labels_; }
    // A text of about the size of a section, for saves.
    const Text& sectionText() const { return sectionText_; }
    // A path that the registry does not hold yet.
    const Text& newDocumentPath() const { return newDocumentPath_; }

    // Puts the original bytes back, flushed to disk, so that each timed operation starts alike.
    void RestoreDocument() const;
    void RestoreSettings() const;

private:
    std::string directory_;
    store::Path document_;
    store::Path settings_;
    std::string documentBytes_;
    std::string settingsBytes_;
    std::vector<Text> labels_;
    Text sectionText_;
    Text newDocumentPath_;
};

} // namespace quorvel::bench
