#include "store/Profile.h"

#include "store/Path.h"
#include "text/TextOps.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unordered_map>
#include <utility>

namespace quorvel::store {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

// Drops blank characters at both ends, stepping by characters so that a blank byte taken
// together with a lead byte before it stays part of that character.
std::string_view TrimBlanks(std::string_view value) {
    std::size_t begin = 0;
    while (begin < value.size() && IsBlank(value[begin])) {
        ++begin;
    }
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < value.size();) {
        const std::size_t length = text::CharLength(value, pos);
        if (length != 1 || !IsBlank(value[pos])) {
            end = pos + length;
        }
        pos += length;
    }
    return value.substr(begin, end - begin);
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool HasEnclosingQuotes(std::string_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

std::string_view Unquote(std::string_view value) {
    return HasEnclosingQuotes(value) ? value.substr(1, value.size() - 2) : value;
}

// Names are indexed by this fold; it is the fold EqualText applies when ignoring ASCII case, and
// it keeps the length, so equal folds mean EqualText reports the names equal.
Text Fold(std::string_view name) {
    return text::ToAsciiLower(name);
}

enum class NameKind { Section, Key };

// True when a line written with this name would be found again by the same name. The byte
// written after the name ("]" or "=") must stay a character of its own: a name ending in a lone
// lead byte would take it in as its trail byte.
bool IsFindableName(std::string_view name, NameKind kind) {
    if (name.empty() || text::HoldsLineBreak(name) || TrimBlanks(name).size() != name.size()) {
        return false;
    }
    if (kind == NameKind::Section) {
        return text::FindLastChar(name, ']') == std::string_view::npos &&
               text::FindLastChar(Text(name) + "]", ']') == name.size();
    }
    return name.front() != ';' && name.front() != '[' &&
           text::FindText(Text(name) + "=", "=", 0) == name.size();
}

bool ReadingWouldAlter(std::string_view value) {
    return TrimBlanks(value).size() != value.size() || HasEnclosingQuotes(value);
}

// What identifies one version of the file on disk.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};
    std::timespec changed{};

    friend bool operator==(const FileStamp& a, const FileStamp& b) {
        const auto same = [](const std::timespec& x, const std::timespec& y) {
            return x.tv_sec == y.tv_sec && x.tv_nsec == y.tv_nsec;
        };
        return a.exists == b.exists && a.device == b.device && a.inode == b.inode &&
               a.size == b.size && same(a.modified, b.modified) && same(a.changed, b.changed);
    }
};

FileStamp StampOf(const Path& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return FileStamp{true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool IsEarlier(const std::timespec& a, const std::timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

std::timespec CoarseNow() {
    std::timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

// File times come from the kernel's coarse clock, so a change made in the same clock tick as the
// read that produced a snapshot can leave size and times as they were. Such a snapshot is
// confirmed against the file's bytes on each use until its times are older than the tick of a
// read. Whole-second times (file systems without finer times) stay in doubt for two seconds; a
// file dated in the future stays in doubt, and is compared on every call, until that time.
bool MayChangeUnseen(const FileStamp& stamp, const std::timespec& readStart) {
    if (!stamp.exists) {
        return false;
    }
    const std::timespec latest =
        IsEarlier(stamp.modified, stamp.changed) ? stamp.changed : stamp.modified;
    if (latest.tv_nsec == 0) {
        return latest.tv_sec + 2 > readStart.tv_sec;
    }
    return !IsEarlier(latest, readStart);
}

struct KeyLine {
    std::size_t lineStart = 0;
    std::size_t contentEnd = 0; // where the line's break begins
    std::string_view key;       // spelling as in the file
    std::string_view value;     // trimmed and unquoted
};

struct Section {
    std::size_t insertAt = 0;       // just after the last key line, or after the header
    bool insertLineHasBreak = true; // false only for the last line of a file without a final break
    std::unordered_map<Text, KeyLine> keys; // first line of each folded key
};

} // namespace

struct ProfileFile::Snapshot {
    enum class State { Missing, Unreadable, Loaded };

    State state = State::Missing;
    FileStamp stamp;
    CodePage codePage = CodePage::Utf8;
    bool inDoubt = false; // confirm against the file's bytes before use
    Text content;
    std::unordered_map<Text, Section> sections; // the first section of each folded name

    static std::unique_ptr<Snapshot> Load(const Path& path, FileStamp before);
    bool Confirm(const Path& path);

    void Parse();
    void ParseLine(std::size_t lineStart, std::size_t contentEnd, std::size_t lineEnd,
                   Section*& current);
};

void ProfileFile::Snapshot::Parse() {
    sections.clear();
    Section* current = nullptr; // null before the first section and inside a repeated one
    const std::string_view all = content;
    for (std::size_t lineStart = 0; lineStart < all.size();) {
        std::size_t contentEnd = all.find_first_of(kLineBreak, lineStart);
        std::size_t lineEnd = 0;
        if (contentEnd == std::string_view::npos) {
            contentEnd = all.size();
            lineEnd = all.size();
        } else if (all.compare(contentEnd, kLineBreak.size(), kLineBreak) == 0) {
            lineEnd = contentEnd + kLineBreak.size();
        } else {
            lineEnd = contentEnd + 1;
        }
        ParseLine(lineStart, contentEnd, lineEnd, current);
        lineStart = lineEnd;
    }
}

void ProfileFile::Snapshot::ParseLine(std::size_t lineStart, std::size_t contentEnd,
                                      std::size_t lineEnd, Section*& current) {
    const std::string_view line =
        std::string_view(content).substr(lineStart, contentEnd - lineStart);
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) {
        ++first;
    }
    if (first == line.size() || line[first] == ';') {
        return; // blank line or comment
    }
    if (line[first] == '[') {
        const std::string_view rest = line.substr(first + 1);
        const std::size_t close = text::FindLastChar(rest, ']');
        if (close != std::string_view::npos) {
            const auto [entry, added] =
                sections.try_emplace(Fold(TrimBlanks(rest.substr(0, close))));
            current = added ? &entry->second : nullptr;
            if (current != nullptr) {
                current->insertAt = lineEnd;
                current->insertLineHasBreak = lineEnd != contentEnd;
            }
            return;
        }
    }
    if (current == nullptr) {
        return;
    }
    const std::size_t equals = text::FindText(line, "=", 0);
    KeyLine keyLine{lineStart, contentEnd, TrimBlanks(line.substr(0, equals)), {}};
    if (equals != std::string_view::npos) {
        keyLine.value = Unquote(TrimBlanks(line.substr(equals + 1)));
    }
    current->keys.try_emplace(Fold(keyLine.key), keyLine);
    current->insertAt = lineEnd;
    current->insertLineHasBreak = lineEnd != contentEnd;
}

// Reads the file until two stats around the read agree, so that the bytes belong to the stamp.
std::unique_ptr<ProfileFile::Snapshot> ProfileFile::Snapshot::Load(const Path& path,
                                                                   FileStamp before) {
    auto snapshot = std::make_unique<Snapshot>();
    snapshot->codePage = text::ActiveCodePage();
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (!before.exists) {
            return snapshot;
        }
        const std::timespec readStart = CoarseNow();
        std::optional<Text> content = ReadFile(path);
        const FileStamp after = StampOf(path);
        if (after == before || attempt == kAttempts) {
            snapshot->stamp = after;
            snapshot->inDoubt = after != before || MayChangeUnseen(after, readStart);
            if (!after.exists) {
                return snapshot;
            }
            if (!content) {
                snapshot->state = State::Unreadable;
                return snapshot;
            }
            snapshot->state = State::Loaded;
            snapshot->content = std::move(*content);
            snapshot->Parse();
            return snapshot;
        }
        before = after;
    }
}

// True when the file still holds exactly the snapshot's bytes; clears the doubt once the file's
// times have fallen behind the clock.
bool ProfileFile::Snapshot::Confirm(const Path& path) {
    const std::timespec readStart = CoarseNow();
    const std::optional<Text> current = ReadFile(path);
    const FileStamp after = StampOf(path);
    if (after != stamp || current.has_value() != (state == State::Loaded) ||
        (current && *current != content)) {
        return false;
    }
    inDoubt = MayChangeUnseen(after, readStart);
    return true;
}

ProfileFile::ProfileFile(Path path) : path_(std::move(path)) {}

std::unique_ptr<FileLock> ProfileFile::LockForWrite() const {
    if (!FileExists(path_)) {
        // The settings directory may not exist yet; it holds the lock of a missing file. A
        // failure shows in the lock or the write.
        std::error_code ignored;
        std::filesystem::create_directories(DirectoryOf(path_), ignored);
    }
    return std::make_unique<FileLock>(path_, LinkRule::FollowLinks);
}

IoOutcome ProfileFile::BeginUpdate() {
    if (!update_) {
        update_ = LockForWrite();
    }
    return update_->outcome();
}

void ProfileFile::EndUpdate() {
    update_.reset();
}

ProfileFile::~ProfileFile() = default;

bool ProfileFile::Exists() const {
    return FileExists(path_);
}

const ProfileFile::Snapshot& ProfileFile::Current() const {
    const FileStamp stamp = StampOf(path_);
    if (snapshot_ && snapshot_->stamp == stamp && snapshot_->codePage == text::ActiveCodePage() &&
        (!snapshot_->inDoubt || snapshot_->Confirm(path_))) {
        return *snapshot_;
    }
    snapshot_ = Snapshot::Load(path_, stamp);
    return *snapshot_;
}

Text ProfileFile::Read(const Text& section, const Text& key, const Text& defaultValue) const {
    const Snapshot& snapshot = Current();
    const auto foundSection = snapshot.sections.find(Fold(section));
    if (foundSection == snapshot.sections.end()) {
        return defaultValue;
    }
    const auto& keys = foundSection->second.keys;
    const auto foundKey = keys.find(Fold(key));
    if (foundKey == keys.end()) {
        return defaultValue;
    }
    return Text(text::CutAtCharBoundary(foundKey->second.value, kLongestValue));
}

ProfileWriteOutcome ProfileFile::Write(const Text& section, const Text& key, const Text& value) {
    if (!IsFindableName(section, NameKind::Section) || !IsFindableName(key, NameKind::Key) ||
        text::HoldsLineBreak(value)) {
        return ProfileWriteOutcome::Refused;
    }
    if (value.size() > kLongestValue) {
        return ProfileWriteOutcome::TooLong;
    }
    const Text stored = ReadingWouldAlter(value) ? "\"" + value + "\"" : value;
    const std::unique_ptr<FileLock> ownLock = update_ ? nullptr : LockForWrite();
    FileLock& lock = update_ ? *update_ : *ownLock;
    if (lock.outcome() != IoOutcome::Done) {
        return ProfileWriteOutcome::WriteFailed;
    }
    const Snapshot& snapshot = Current();
    if (snapshot.state == Snapshot::State::Unreadable) {
        return ProfileWriteOutcome::WriteFailed; // never replace bytes that could not be read
    }
    const std::string_view content = snapshot.content;
    IoOutcome outcome = IoOutcome::Failed;
    const auto foundSection = snapshot.sections.find(Fold(section));
    if (foundSection != snapshot.sections.end()) {
        const Section& target = foundSection->second;
        const auto foundKey = target.keys.find(Fold(key));
        if (foundKey != target.keys.end()) {
            const KeyLine& line = foundKey->second;
            outcome = WriteFileAtomic(lock, {content.substr(0, line.lineStart), line.key, "=",
                                             stored, content.substr(line.contentEnd)});
        } else {
            const std::string_view breakFirst = target.insertLineHasBreak ? "" : kLineBreak;
            outcome =
                WriteFileAtomic(lock, {content.substr(0, target.insertAt), breakFirst, key, "=",
                                       stored, kLineBreak, content.substr(target.insertAt)});
        }
    } else {
        const bool endsInBreak =
            content.empty() || content.back() == '\n' || content.back() == '\r';
        outcome = WriteFileAtomic(lock, {content, endsInBreak ? "" : kLineBreak, "[", section, "]",
                                         kLineBreak, key, "=", stored, kLineBreak});
    }
    // The next call reads the file as written, so the snapshot always matches the disk.
    snapshot_.reset();
    return outcome == IoOutcome::Done ? ProfileWriteOutcome::Written
                                      : ProfileWriteOutcome::WriteFailed;
}

} // namespace quorvel::store
