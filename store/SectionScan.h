#pragma once

#include "text/TextOps.h"

#include <algorithm>
#include <cstring>
#include <string.h> // memrchr
#include <string_view>
#include <utility>
#include <vector>

// Byte-level scanning of the labelled document format, shared by the section operations.
// Lines are found by their LF bytes alone: a line starts at position 0 or right after an LF, so a
// "[" that follows any other byte (the trail byte of a two-byte character included) never starts
// a line. Zero bytes are ordinary bytes here; only reading a section's text stops at them.
namespace quorvel::store::scan {

inline constexpr std::string_view kHeaderOpen = "[#";
inline constexpr std::size_t npos = std::string_view::npos;

inline Text HeaderOf(std::string_view label) {
    Text header(kHeaderOpen);
    header.append(label);
    header.push_back(']');
    return header;
}

inline bool IsLineStart(std::string_view content, std::size_t pos) {
    return pos == 0 || content[pos - 1] == '\n';
}

// End of the line that starts at pos, without its break (LF, or CR LF).
inline std::size_t LineContentEnd(std::string_view content, std::size_t pos) {
    const std::size_t lf = content.find('\n', pos);
    if (lf == npos) {
        return content.size();
    }
    return lf > pos && content[lf - 1] == '\r' ? lf - 1 : lf;
}

// Start of the first line at or after from that begins with "[#", or npos.
inline std::size_t FindHeaderishLine(std::string_view content, std::size_t from) {
    for (std::size_t pos = content.find(kHeaderOpen, from); pos != npos;
         pos = content.find(kHeaderOpen, pos + 1)) {
        if (IsLineStart(content, pos)) {
            return pos;
        }
    }
    return npos;
}

// Start of the first line at or after from that consists of header, or npos. Ignoring case
// compares whole lines with the stepping fold, so a trail byte is never folded.
inline std::size_t FindHeaderLine(std::string_view content, std::string_view header,
                                  std::size_t from, text::CaseSensitivity sensitivity) {
    for (std::size_t pos = FindHeaderishLine(content, from); pos != npos;
         pos = FindHeaderishLine(content, pos + 1)) {
        const std::size_t end = LineContentEnd(content, pos);
        if (text::EqualText(content.substr(pos, end - pos), header, sensitivity)) {
            return pos;
        }
    }
    return npos;
}

// A section found at a header line, as byte positions of the file; it points into the content
// the caller holds, and is only good while that content is unchanged.
struct SectionSpan {
    std::size_t textBegin = 0; // after the header line and its break
    std::size_t textEnd = 0;   // before the break that precedes the next header line; may be
                               // less than textBegin when that break is the header's own
    std::size_t next = 0;      // start of the next header line, or the file's size
};

inline SectionSpan LocateSection(std::string_view content, std::size_t header,
                                 std::size_t headerLength) {
    SectionSpan span;
    span.textBegin = header + headerLength;
    if (content.substr(span.textBegin, 2) == "\r\n") {
        span.textBegin += 2;
    } else if (content.substr(span.textBegin, 1) == "\n") {
        span.textBegin += 1;
    }
    const std::size_t next = FindHeaderishLine(content, span.textBegin);
    if (next == npos) {
        span.textEnd = span.next = content.size();
        return span;
    }
    // next follows an LF; the CR before that LF belongs to the break as well.
    span.next = next;
    span.textEnd = next >= 2 && content[next - 2] == '\r' ? next - 2 : next - 1;
    return span;
}

// The break for bytes written into content: LF when every break in it is a bare LF, CR LF
// otherwise (no break at all, or any CR LF).
inline std::string_view BreakStyleOf(std::string_view content) {
    const bool hasLf = content.find('\n') != npos;
    return hasLf && content.find("\r\n") == npos ? "\n" : "\r\n";
}

inline std::string_view UpToZeroByte(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The label of a header line given without its break: its bytes from the third up to, not
// including, the last, whatever that last byte is.
inline std::string_view LabelOfLine(std::string_view line) {
    return line.size() > kHeaderOpen.size() ? line.substr(2, line.size() - 3) : std::string_view();
}

// Collects the labels of the lines that begin with "[#" from bytes fed in pieces of any size.
// Whole lines inside a piece are searched for "[#" at a line start, so ordinary lines cost no
// work of their own; only the line that runs across the end of a piece is followed byte by
// byte, and only a header line's bytes are kept, so memory does not grow with the file.
// It owns the labels found so far and hands them over with Finish; the caller owns the file.
class LabelCollector {
public:
    // Feeds the next bytes; false once a zero byte or 0x1A has ended the listing.
    bool Feed(std::string_view bytes) {
        const std::size_t stop = FindByte(bytes, '\x1a', FindByte(bytes, '\0', bytes.size()));
        const std::string_view rest = bytes.substr(0, stop);
        // The line an earlier piece left unfinished runs on to the first LF.
        const std::size_t firstLf = FindByte(rest, '\n', rest.size());
        AddToLine(rest.substr(0, firstLf));
        if (firstLf < rest.size()) {
            EndLine(LineEnd::LineFeed);
            const std::size_t lastStart = LastLineStart(rest);
            CollectWholeLines(rest.substr(firstLf + 1, lastStart - firstLf - 1));
            AddToLine(rest.substr(lastStart));
        }
        return stop == bytes.size();
    }

    // Examines the last line, which need not end with LF.
    std::vector<Text> Finish() {
        EndLine(LineEnd::EndOfFile);
        return std::move(labels_);
    }

private:
    enum class LineEnd { LineFeed, EndOfFile };
    enum class LineKind { Unknown, Header, Other };

    // Position of the first byte c among the first limit bytes, or limit.
    static std::size_t FindByte(std::string_view bytes, char c, std::size_t limit) {
        if (limit == 0) {
            return 0;
        }
        const void* found = std::memchr(bytes.data(), c, limit);
        return found != nullptr
                   ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data())
                   : limit;
    }

    // Start of the line after the last LF; bytes holds at least one LF.
    static std::size_t LastLineStart(std::string_view bytes) {
        const void* lastLf = ::memrchr(bytes.data(), '\n', bytes.size());
        return static_cast<std::size_t>(static_cast<const char*>(lastLf) - bytes.data()) + 1;
    }

    // lines holds whole lines, each ending with LF.
    void CollectWholeLines(std::string_view lines) {
        for (std::size_t pos = FindHeaderishLine(lines, 0); pos != npos;) {
            const std::size_t end = LineContentEnd(lines, pos);
            labels_.emplace_back(LabelOfLine(lines.substr(pos, end - pos)));
            pos = FindHeaderishLine(lines, end);
        }
    }

    // A line running across pieces: its first two bytes tell whether its bytes are kept.
    void AddToLine(std::string_view piece) {
        if (kind_ == LineKind::Unknown) {
            const std::size_t take = std::min(kHeaderOpen.size() - line_.size(), piece.size());
            line_.append(piece.substr(0, take));
            piece.remove_prefix(take);
            if (!kHeaderOpen.starts_with(line_)) {
                kind_ = LineKind::Other;
            } else if (line_.size() == kHeaderOpen.size()) {
                kind_ = LineKind::Header;
            }
        }
        if (kind_ == LineKind::Header) {
            line_.append(piece);
        }
    }

    void EndLine(LineEnd end) {
        if (kind_ == LineKind::Header) {
            std::string_view line = line_;
            if (end == LineEnd::LineFeed && line.ends_with('\r')) {
                line.remove_suffix(1); // the CR before the LF belongs to the break
            }
            labels_.emplace_back(LabelOfLine(line));
        }
        line_.clear();
        kind_ = LineKind::Unknown;
    }

    std::vector<Text> labels_;
    Text line_; // the line's first bytes while fewer than two are known, a header line whole
    LineKind kind_ = LineKind::Unknown;
};

} // namespace quorvel::store::scan
