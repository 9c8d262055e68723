#pragma once

#include "store/Document.h"
#include "text/CodePage.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A slow, plain restatement of the section operations on a document held in memory, for the
// fuzzer to compare the store against. It splits the whole file into lines first and then works
// on line indexes, where the store scans bytes; the two agree only when both follow the rules:
//  - a line ends at LF, a CR right before the LF belongs to the break; zero bytes are ordinary
//    bytes, except that listing stops at a zero byte or 0x1A and a section's text is cut at one;
//  - a label's header is a line that consists of "[#" label "]"; the first such line counts;
//  - a section's text runs from after its header line's break to the break before the next line
//    that begins with "[#", or to the end of the file;
//  - new breaks are LF in a file whose breaks are all LF, CR LF everywhere else.
namespace quorvel::fuzz::model {

struct Document {
    bool exists = false;
    std::string bytes;

    bool operator==(const Document&) const = default;
};

struct Line {
    std::size_t start = 0;
    std::size_t contentEnd = 0; // before the line's break
    std::size_t next = 0;       // after the break
};

inline std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        Line line;
        line.start = start;
        std::size_t pos = start;
        while (pos < bytes.size() && bytes[pos] != '\n') {
            ++pos;
        }
        if (pos == bytes.size()) {
            line.contentEnd = line.next = pos;
        } else {
            line.contentEnd = pos > start && bytes[pos - 1] == '\r' ? pos - 1 : pos;
            line.next = pos + 1;
        }
        lines.push_back(line);
        start = line.next;
    }
    return lines;
}

inline std::string_view Content(std::string_view bytes, const Line& line) {
    return bytes.substr(line.start, line.contentEnd - line.start);
}

inline std::string Header(std::string_view label) {
    return "[#" + std::string(label) + "]";
}

// Lower-cases the single-byte ASCII letters, stepping over multi-byte characters whole.
inline std::string FoldCase(std::string_view value) {
    std::string folded(value);
    for (std::size_t pos = 0; pos < folded.size();) {
        const std::size_t length = text::CharLength(folded, pos);
        if (length == 1 && folded[pos] >= 'A' && folded[pos] <= 'Z') {
            folded[pos] = static_cast<char>(folded[pos] - 'A' + 'a');
        }
        pos += length;
    }
    return folded;
}

enum class Match { Exact, IgnoreCase };

// Index of the first line from `from` on that is the label's header line.
inline std::optional<std::size_t> FindHeaderLine(std::string_view bytes,
                                                 const std::vector<Line>& lines,
                                                 std::string_view label, std::size_t from,
                                                 Match match) {
    const std::string header = Header(label);
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string_view content = Content(bytes, lines[i]);
        const bool same =
            match == Match::Exact ? content == header : FoldCase(content) == FoldCase(header);
        if (same) {
            return i;
        }
    }
    return std::nullopt;
}

// The first line after `header` that begins with "[#".
inline std::optional<std::size_t>
NextHeaderishLine(std::string_view bytes, const std::vector<Line>& lines, std::size_t header) {
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        if (bytes.substr(lines[i].start, 2) == "[#") {
            return i;
        }
    }
    return std::nullopt;
}

// A label that a header line cannot hold: a line break, or a byte at which a listing ends.
inline bool IsRefusedLabel(std::string_view label) {
    for (const char c : label) {
        if (c == '\r' || c == '\n' || c == '\0' || c == '\x1a') {
            return true;
        }
    }
    return false;
}

inline std::string BreakFor(std::string_view bytes) {
    const bool anyLf = bytes.find('\n') != std::string_view::npos;
    const bool anyCrLf = bytes.find("\r\n") != std::string_view::npos;
    return anyLf && !anyCrLf ? "\n" : "\r\n";
}

inline std::string UpToZero(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find('\0')));
}

inline std::vector<std::string> ListLabels(const Document& doc) {
    std::vector<std::string> labels;
    if (!doc.exists) {
        return labels;
    }
    const std::string_view all = doc.bytes;
    const std::string_view listed = all.substr(0, all.find_first_of(std::string_view("\0\x1A", 2)));
    for (const Line& line : SplitLines(listed)) {
        const std::string_view content = Content(listed, line);
        if (content.substr(0, 2) == "[#") {
            labels.emplace_back(content.substr(2, content.size() >= 3 ? content.size() - 3 : 0));
        }
    }
    return labels;
}

inline store::SectionRead ReadSection(const Document& doc, std::string_view label) {
    const std::string_view bytes = doc.bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const auto header = FindHeaderLine(bytes, lines, label, 0, Match::Exact);
    if (!doc.exists || !header) {
        return {};
    }
    const std::size_t textBegin = lines[*header].next;
    const auto next = NextHeaderishLine(bytes, lines, *header);
    const std::size_t textEnd = next ? lines[*next - 1].contentEnd : bytes.size();
    store::SectionRead read;
    read.found = true;
    if (textEnd > textBegin) {
        read.text = UpToZero(bytes.substr(textBegin, textEnd - textBegin));
    }
    return read;
}

inline store::SaveOutcome SaveSection(Document& doc, std::string_view label, store::SaveMode mode,
                                      std::string_view text) {
    using store::SaveOutcome;
    const bool saveMode = mode == store::SaveMode::Save;
    if (saveMode && text.empty()) {
        return SaveOutcome::NothingToSave;
    }
    if (IsRefusedLabel(label)) {
        return SaveOutcome::InvalidLabel;
    }
    const std::string lineBreak = doc.exists ? BreakFor(doc.bytes) : "\r\n";
    std::string section = Header(label);
    if (saveMode) {
        section += lineBreak;
        section += text;
    }
    if (!doc.exists) {
        doc = Document{true, section};
        return SaveOutcome::CreatedFile;
    }
    const std::string_view bytes = doc.bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const auto header = FindHeaderLine(bytes, lines, label, 0, Match::Exact);
    if (!header) {
        std::string appended = bytes.empty() || bytes.back() != '\n' ? lineBreak : "";
        appended += section;
        appended += lineBreak;
        doc.bytes += appended;
        return SaveOutcome::Appended;
    }
    if (!saveMode) {
        return SaveOutcome::LabelExists;
    }
    const auto next = NextHeaderishLine(bytes, lines, *header);
    const std::size_t spanEnd = next ? lines[*next - 1].contentEnd : bytes.size();
    doc.bytes = std::string(bytes.substr(0, lines[*header].start)) + section +
                std::string(bytes.substr(spanEnd));
    return SaveOutcome::Replaced;
}

// The line that a rename or a delete acts on: found first ignoring case, then exactly from there.
struct TwoStep {
    bool anyCase = false;
    std::optional<std::size_t> exact;
};

inline TwoStep FindTwoStep(std::string_view bytes, const std::vector<Line>& lines,
                           std::string_view label) {
    TwoStep found;
    const auto anyCase = FindHeaderLine(bytes, lines, label, 0, Match::IgnoreCase);
    if (!anyCase) {
        return found;
    }
    found.anyCase = true;
    found.exact = FindHeaderLine(bytes, lines, label, *anyCase, Match::Exact);
    return found;
}

inline store::RenameOutcome RenameLabel(Document& doc, std::string_view oldLabel,
                                        std::string_view newLabel) {
    const std::string_view bytes = doc.bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const TwoStep found = FindTwoStep(bytes, lines, oldLabel);
    if (!doc.exists || !found.anyCase) {
        return store::RenameOutcome::NotFound;
    }
    if (IsRefusedLabel(newLabel)) {
        return store::RenameOutcome::InvalidLabel;
    }
    if (newLabel != oldLabel && FindTwoStep(bytes, lines, newLabel).exact) {
        return store::RenameOutcome::LabelExists;
    }
    if (found.exact) {
        const Line& line = lines[*found.exact];
        doc.bytes = std::string(bytes.substr(0, line.start)) + Header(newLabel) +
                    std::string(bytes.substr(line.contentEnd));
    }
    return store::RenameOutcome::Renamed;
}

inline store::DeleteOutcome DeleteSection(Document& doc, std::string_view label) {
    const std::string_view bytes = doc.bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const TwoStep found = FindTwoStep(bytes, lines, label);
    if (!doc.exists || !found.anyCase) {
        return store::DeleteOutcome::NotFound;
    }
    if (found.exact) {
        const auto next = NextHeaderishLine(bytes, lines, *found.exact);
        const std::size_t end = next ? lines[*next].start : bytes.size();
        doc.bytes = std::string(bytes.substr(0, lines[*found.exact].start)) +
                    std::string(bytes.substr(end));
    }
    return store::DeleteOutcome::Deleted;
}

inline std::string ReadWholeDocument(const Document& doc) {
    return doc.exists ? UpToZero(doc.bytes) : std::string();
}

} // namespace quorvel::fuzz::model
