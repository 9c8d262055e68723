#include "store/Document.h"

#include "store/SectionScan.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel::store {
namespace {

using text::CaseSensitivity;

constexpr std::size_t kStreamChunkSize = std::size_t{1} << 20;

using Feed = std::function<bool(std::string_view)>;

StreamOutcome FeedChunks(int fd, const Feed& feed) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(kStreamChunkSize);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), kStreamChunkSize);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return StreamOutcome::ReadFailed;
        }
        if (got == 0) {
            return StreamOutcome::Done;
        }
        if (!feed(std::string_view(buffer.get(), static_cast<std::size_t>(got)))) {
            return StreamOutcome::Stopped;
        }
    }
}

// Feeds a regular file in chunks, so that any size of file and any length of line is handled
// with a fixed buffer. A missing file feeds nothing.
StreamOutcome StreamFile(const Path& path, const Feed& feed) {
    // Non-blocking so that opening a FIFO cannot hang; it is refused as not a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? StreamOutcome::Done
                                                   : StreamOutcome::ReadFailed;
    }
    struct stat info {};
    const StreamOutcome outcome = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                                      ? FeedChunks(fd, feed)
                                      : StreamOutcome::ReadFailed;
    ::close(fd);
    return outcome;
}

// Where the first header line of a label lies, found in two steps: first ignoring case, then
// exactly from that line on. No header in any case leaves caseMatch at npos; a header present
// only in another case leaves exact at npos.
struct TwoStepMatch {
    std::size_t caseMatch = scan::npos;
    std::size_t exact = scan::npos;
};

TwoStepMatch FindTwoStep(std::string_view content, std::string_view header) {
    TwoStepMatch match;
    match.caseMatch = scan::FindHeaderLine(content, header, 0, CaseSensitivity::IgnoreAsciiCase);
    if (match.caseMatch != scan::npos) {
        match.exact =
            scan::FindHeaderLine(content, header, match.caseMatch, CaseSensitivity::Exact);
    }
    return match;
}

SaveOutcome CreateDocument(FileLock& lock, std::string_view header, SaveMode mode,
                           std::string_view text) {
    constexpr std::string_view newFileBreak = "\r\n";
    const IoOutcome written = mode == SaveMode::Create
                                  ? WriteFileAtomic(lock, {header})
                                  : WriteFileAtomic(lock, {header, newFileBreak, text});
    return written == IoOutcome::Done ? SaveOutcome::CreatedFile : SaveOutcome::WriteFailed;
}

// Adds the section at the end of the file, on a line of its own and followed by a break.
SaveOutcome AppendSection(FileLock& lock, std::string_view content, std::string_view header,
                          SaveMode mode, std::string_view text) {
    const std::string_view lineBreak = scan::BreakStyleOf(content);
    Text added;
    if (!content.ends_with('\n')) {
        added.append(lineBreak);
    }
    added.append(header);
    if (mode == SaveMode::Save) {
        added.append(lineBreak).append(text);
    }
    added.append(lineBreak);
    return AppendToFile(lock, added) == IoOutcome::Done ? SaveOutcome::Appended
                                                        : SaveOutcome::WriteFailed;
}

} // namespace

bool IsValidLabel(std::string_view label) {
    return label.find_first_of(std::string_view("\r\n\0\x1a", 4)) == std::string_view::npos;
}

std::vector<Text> ListLabels(const Path& path) {
    scan::LabelCollector collector;
    // A read error ends the listing like the end of the file.
    StreamFile(path, [&](std::string_view bytes) { return collector.Feed(bytes); });
    return collector.Finish();
}

SectionRead ReadSection(const Path& path, const Text& label) {
    std::optional<Text> file = ReadFile(path);
    if (!file) {
        return {};
    }
    const std::string_view content = *file;
    const Text header = scan::HeaderOf(label);
    const std::size_t at = scan::FindHeaderLine(content, header, 0, CaseSensitivity::Exact);
    if (at == scan::npos) {
        return {};
    }
    const scan::SectionSpan span = scan::LocateSection(content, at, header.size());
    SectionRead read;
    read.found = true;
    if (span.textEnd > span.textBegin) {
        // Cut out of the file's own buffer rather than copied, so that a large section is never
        // held twice.
        const std::size_t length =
            scan::UpToZeroByte(content.substr(span.textBegin, span.textEnd - span.textBegin))
                .size();
        Text& bytes = *file;
        bytes.resize(span.textBegin + length);
        bytes.erase(0, span.textBegin);
        read.text = std::move(bytes);
    }
    return read;
}

SaveOutcome SaveSection(const Path& path, const Text& label, SaveMode mode, const Text& text) {
    if (mode == SaveMode::Save && text.empty()) {
        return SaveOutcome::NothingToSave;
    }
    if (!IsValidLabel(label)) {
        return SaveOutcome::InvalidLabel;
    }
    const Text header = scan::HeaderOf(label);
    // Held from the read to the rename, so that a concurrent writer's change is not lost.
    FileLock lock(path, LinkRule::FollowLinks);
    if (lock.outcome() != IoOutcome::Done) {
        return SaveOutcome::WriteFailed;
    }
    if (!FileExists(lock.target())) {
        return CreateDocument(lock, header, mode, text);
    }
    // An existing file that cannot be read is left alone: appending to it blindly could add a
    // second section for a label it already holds.
    const std::optional<Text> file = ReadFile(lock.target());
    if (!file) {
        return SaveOutcome::WriteFailed;
    }
    const std::string_view content = *file;
    const std::size_t at = scan::FindHeaderLine(content, header, 0, CaseSensitivity::Exact);
    if (at == scan::npos) {
        return AppendSection(lock, content, header, mode, text);
    }
    if (mode == SaveMode::Create) {
        return SaveOutcome::LabelExists;
    }
    // The header line and the text up to the break before the next header line are replaced;
    // that break and everything after it stay as they were.
    const scan::SectionSpan span = scan::LocateSection(content, at, header.size());
    const IoOutcome written =
        WriteFileAtomic(lock, {content.substr(0, at), header, scan::BreakStyleOf(content), text,
                               content.substr(span.textEnd)});
    return written == IoOutcome::Done ? SaveOutcome::Replaced : SaveOutcome::WriteFailed;
}

bool IsAdded(SaveOutcome outcome) {
    return outcome == SaveOutcome::CreatedFile || outcome == SaveOutcome::Appended;
}

RenameOutcome RenameLabel(const Path& path, const Text& oldLabel, const Text& newLabel) {
    if (!IsValidLabel(newLabel)) {
        return RenameOutcome::InvalidLabel;
    }
    FileLock lock(path, LinkRule::FollowLinks);
    if (lock.outcome() != IoOutcome::Done) {
        return lock.outcome() == IoOutcome::Busy ? RenameOutcome::WriteFailed
                                                 : RenameOutcome::NotFound;
    }
    const std::optional<Text> file = ReadFile(lock.target());
    if (!file) {
        return RenameOutcome::NotFound;
    }
    const std::string_view content = *file;
    const Text oldHeader = scan::HeaderOf(oldLabel);
    const TwoStepMatch match = FindTwoStep(content, oldHeader);
    if (match.caseMatch == scan::npos) {
        return RenameOutcome::NotFound;
    }
    // A second header of the same name would leave one of the two sections out of reach.
    if (newLabel != oldLabel && scan::FindHeaderLine(content, scan::HeaderOf(newLabel), 0,
                                                     CaseSensitivity::Exact) != scan::npos) {
        return RenameOutcome::LabelExists;
    }
    // Written back even when only a header in another case was there and nothing changes.
    const IoOutcome written =
        match.exact == scan::npos
            ? WriteFileAtomic(lock, {content})
            : WriteFileAtomic(lock, {content.substr(0, match.exact), scan::HeaderOf(newLabel),
                                     content.substr(match.exact + oldHeader.size())});
    return written == IoOutcome::Done ? RenameOutcome::Renamed : RenameOutcome::WriteFailed;
}

DeleteOutcome DeleteSection(const Path& path, const Text& label) {
    FileLock lock(path, LinkRule::FollowLinks);
    if (lock.outcome() != IoOutcome::Done) {
        return lock.outcome() == IoOutcome::Busy ? DeleteOutcome::WriteFailed
                                                 : DeleteOutcome::NotFound;
    }
    const std::optional<Text> file = ReadFile(lock.target());
    if (!file) {
        return DeleteOutcome::NotFound;
    }
    const std::string_view content = *file;
    const Text header = scan::HeaderOf(label);
    const TwoStepMatch match = FindTwoStep(content, header);
    if (match.caseMatch == scan::npos) {
        return DeleteOutcome::NotFound;
    }
    // The header line, the text and the break that ended it go; the next header line stays.
    IoOutcome written = IoOutcome::Failed;
    if (match.exact == scan::npos) {
        written = WriteFileAtomic(lock, {content});
    } else {
        const scan::SectionSpan span = scan::LocateSection(content, match.exact, header.size());
        written =
            WriteFileAtomic(lock, {content.substr(0, match.exact), content.substr(span.next)});
    }
    return written == IoOutcome::Done ? DeleteOutcome::Deleted : DeleteOutcome::WriteFailed;
}

Text ReadWholeDocument(const Path& path) {
    std::optional<Text> file = ReadFile(path);
    if (!file) {
        return {};
    }
    file->resize(scan::UpToZeroByte(*file).size()); // in place: the text is held once
    return std::move(*file);
}

StreamOutcome StreamWholeDocument(const Path& path,
                                  const std::function<bool(std::string_view)>& sink) {
    bool refused = false;
    const StreamOutcome outcome = StreamFile(path, [&](std::string_view bytes) {
        const std::string_view kept = scan::UpToZeroByte(bytes);
        refused = !sink(kept);
        return !refused && kept.size() == bytes.size();
    });
    // Stopping at a zero byte is the end of the document, not a refusal.
    return outcome == StreamOutcome::Stopped && !refused ? StreamOutcome::Done : outcome;
}

} // namespace quorvel::store
