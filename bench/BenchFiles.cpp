#include "bench/BenchFiles.h"

#include "text/TextOps.h"
#include "text/Words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace quorvel::bench {
namespace {

// A fixed-seed generator, so that every run measures the same files.
class Lcg {
public:
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::size_t Below(std::size_t bound) { return Next() % bound; }

private:
    std::uint64_t state_ = 0x5eed;
};

constexpr std::array<std::string_view, 24> kWords{
    "会议",   "记录",   "项目",       "进度",    "客户",  "电话",
    "地址",   "密码",   "the",        "meeting", "notes", "draft",
    "budget", "review", "2024-05-17", "TODO:",   "-",     "见",
    "附件",   "版本",   "1.2.3",      "完成",    "待办",  "http://example.invalid/a"};

// Lines of words and punctuation, CR LF at the end of each, until the text is about size bytes.
Text MakeText(Lcg& random, std::size_t size) {
    Text text;
    while (text.size() < size) {
        if (!text.empty()) {
            text.append("\r\n");
        }
        const std::size_t lineLength = 20 + random.Below(100);
        std::size_t lineStart = text.size();
        while (text.size() - lineStart < lineLength) {
            text.append(kWords[random.Below(kWords.size())]);
            text.append(random.Below(8) == 0 ? "，" : " ");
        }
    }
    return text;
}

void WriteOrDie(const store::Path& path, const std::string& bytes) {
    if (store::WriteFileAtomic(path, {bytes}) != store::IoOutcome::Done) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

} // namespace

BenchFiles::BenchFiles(DocumentShape shape, std::size_t registryEntries) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    directory_ = pattern;
    document_ = directory_ + "/notes.txt";
    settings_ = directory_ + "/kelmora.ini";

    // Sections of varying length whose sizes add up to the document's size exactly.
    Lcg random;
    documentBytes_.reserve(shape.bytes);
    for (std::size_t i = 0; i < shape.sections; ++i) {
        char label[32];
        std::snprintf(label, sizeof label, "%05zu ", i + 1);
        labels_.push_back(label + text::InterfaceText("笔记"));
        if (i > 0) {
            documentBytes_.append("\r\n");
        }
        documentBytes_.append("[#" + labels_.back() + "]\r\n");
        // Each section takes a share of what is left, between half and one and a half times the
        // even share, so the sizes vary and the last section still ends at the document's size.
        const std::size_t left = shape.bytes - std::min(shape.bytes, documentBytes_.size());
        const std::size_t share = left / (shape.sections - i);
        const std::size_t target =
            i + 1 == shape.sections ? left : std::min(left, share / 2 + random.Below(share + 1));
        // Cut on a character boundary and make up the rest with blanks, so that the sizes add up.
        const Text text = MakeText(random, target);
        const std::string_view cut = text::CutAtCharBoundary(text, target);
        documentBytes_.append(cut);
        documentBytes_.append(target - cut.size(), ' ');
    }
    sectionText_ = MakeText(random, shape.bytes / shape.sections);
    WriteOrDie(document_, documentBytes_);

    settingsBytes_ = "[" + text::InterfaceText("配置") + "]\r\n" + text::InterfaceText("当前文件") +
                     "=" + directory_ + "/notes.txt\r\n" + text::InterfaceText("自动保存") + "=" +
                     text::InterfaceText("真") + "\r\n\r\n[" + text::InterfaceText("文件") +
                     "]\r\n";
    for (std::size_t key = 1; key <= registryEntries; ++key) {
        char entry[96];
        std::snprintf(entry, sizeof entry, "%zu=/home/user/notes/", key);
        settingsBytes_ += entry + text::InterfaceText("文档") + std::to_string(key) + ".txt\r\n";
    }
    settingsBytes_ += "\r\n[" + text::InterfaceText("格式") + "]\r\n" +
                      text::InterfaceText("字体") + "=" + text::InterfaceText("假") + "|" +
                      text::InterfaceText("假") + "|" + text::InterfaceText("假") + "|" +
                      text::InterfaceText("假") + "|Noto Sans|11|0|16777215\r\n";
    newDocumentPath_ = "/home/user/notes/" + text::InterfaceText("新文档") + ".txt";
    WriteOrDie(settings_, settingsBytes_);
}

BenchFiles::~BenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void BenchFiles::RestoreDocument() const {
    WriteOrDie(document_, documentBytes_);
}

void BenchFiles::RestoreSettings() const {
    WriteOrDie(settings_, settingsBytes_);
}

} // namespace quorvel::bench
