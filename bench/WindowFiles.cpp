#include "bench/WindowFiles.h"

#include "text/TextOps.h"
#include "text/Words.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace quorvel::bench {
namespace {

// A fixed-seed generator, so that every run measures the same files.
class Lcg {
public:
    explicit Lcg(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::size_t Below(std::size_t bound) { return Next() % bound; }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 20> kWords{
    "会议", "记录", "项目",  "进度",    "客户",  "电话", "地址", "the",        "meeting", "notes",
    "见",   "附件", "draft", "version", "1.2.3", "完成", "待办", "2024-05-17", "TODO:",   "-"};

// The files are scaffolding, not the program's output: a plain write without the store's flush
// to disk keeps making them quick.
void WriteOrDie(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

} // namespace

Text MakeNotesText(std::size_t size, std::uint64_t seed) {
    Lcg random(seed);
    Text text;
    text.reserve(size + 256);
    while (text.size() < size) {
        if (!text.empty()) {
            text.append("\r\n");
        }
        const std::size_t lineLength = 20 + random.Below(100);
        const std::size_t lineStart = text.size();
        while (text.size() - lineStart < lineLength) {
            text.append(kWords[random.Below(kWords.size())]);
            text.append(random.Below(8) == 0 ? "，" : " ");
        }
    }
    // Cut on a character boundary and make up the rest with blanks, so the size is exact.
    const std::size_t kept = text::CutAtCharBoundary(text, size).size();
    text.resize(kept);
    text.append(size - kept, ' ');
    return text;
}

WindowFiles::WindowFiles(NotebookShape shape) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvel-window-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    directory_ = pattern;
    settings_ = directory_ + "/kelmora.ini";
    emptySettings_ = directory_ + "/empty.ini";

    // The current document sits in the middle of the registry, its saved label in the middle of
    // the document, so that start-up restores neither the first nor the last of anything.
    const std::size_t currentIndex = shape.documents / 2;
    const std::size_t savedIndex = shape.labelsPerDocument / 2;
    const Text& labelWord = text::InterfaceText("标签");
    for (std::size_t d = 0; d < shape.documents; ++d) {
        const store::Path path = directory_ + "/" + std::to_string(d + 1) + ".txt";
        std::string bytes;
        bytes.reserve(shape.documentBytes);
        for (std::size_t s = 0; s < shape.labelsPerDocument; ++s) {
            char number[48];
            std::snprintf(number, sizeof number, "%03zu-%03zu ", d + 1, s + 1);
            const Text label = number + labelWord;
            if (s > 0) {
                bytes.append("\r\n");
            }
            bytes.append("[#" + label + "]\r\n");
            // An even share of what is left for this section, so the document ends at its size.
            const std::size_t left =
                shape.documentBytes - std::min(shape.documentBytes, bytes.size());
            const std::size_t separator = s + 1 < shape.labelsPerDocument ? 2 : 0;
            const std::size_t share = left / (shape.labelsPerDocument - s);
            const std::size_t textSize = s + 1 < shape.labelsPerDocument
                                             ? share - std::min(share, separator + label.size() + 4)
                                             : left;
            const Text text = MakeNotesText(textSize, d * 1000 + s + 1);
            bytes.append(text);
            if (d == currentIndex && s == savedIndex) {
                savedLabel_ = label;
            }
        }
        if (bytes.size() != shape.documentBytes) {
            std::fprintf(stderr, "document %zu came out at %zu bytes\n", d + 1, bytes.size());
            std::exit(1);
        }
        WriteOrDie(path, bytes);
        documents_.push_back(path);
        labelCount_ += shape.labelsPerDocument;
    }
    currentDocument_ = documents_[currentIndex];

    const std::string configuration = "[" + text::InterfaceText("配置") + "]\r\n";
    WriteOrDie(emptySettings_, configuration + text::InterfaceText("自动保存") + "=" +
                                   text::InterfaceText("真") + "\r\n");
    std::string settingsBytes = configuration + text::InterfaceText("当前文件") + "=" +
                                currentDocument_ + "\r\n" + text::InterfaceText("当前标签") + "=" +
                                savedLabel_ + "\r\n" + text::InterfaceText("自动保存") + "=" +
                                text::InterfaceText("真") + "\r\n\r\n[" +
                                text::InterfaceText("文件") + "]\r\n";
    for (std::size_t d = 0; d < documents_.size(); ++d) {
        settingsBytes += std::to_string(d + 1) + "=" + documents_[d] + "\r\n";
    }
    WriteOrDie(settings_, settingsBytes);
}

WindowFiles::~WindowFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

} // namespace quorvel::bench
