#include "editor/EditHistory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace quorvel::editor {
namespace {

// What differs between two neighbouring snapshots: both share prefix bytes at the front and the
// same tail after their middles, so either text is rebuilt from the other.
struct Difference {
    std::size_t prefix = 0;
    Text olderMiddle;
    Text newerMiddle;
};

// Length of the common prefix of a and b, compared in blocks with memcmp and then byte by byte
// inside the first block that differs.
std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    constexpr std::size_t kBlock = 4096;
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t done = 0;
    while (limit - done >= kBlock && std::memcmp(a.data() + done, b.data() + done, kBlock) == 0) {
        done += kBlock;
    }
    while (done < limit && a[done] == b[done]) {
        ++done;
    }
    return done;
}

// Length of the common suffix of a and b, at most limit bytes.
std::size_t CommonSuffix(std::string_view a, std::string_view b, std::size_t limit) {
    constexpr std::size_t kBlock = 4096;
    std::size_t done = 0;
    while (limit - done >= kBlock &&
           std::memcmp(a.data() + a.size() - done - kBlock, b.data() + b.size() - done - kBlock,
                       kBlock) == 0) {
        done += kBlock;
    }
    while (done < limit && a[a.size() - done - 1] == b[b.size() - done - 1]) {
        ++done;
    }
    return done;
}

Difference Diff(std::string_view older, std::string_view newer) {
    const std::size_t prefix = CommonPrefix(older, newer);
    const std::size_t room = std::min(older.size(), newer.size()) - prefix;
    const std::size_t suffix = CommonSuffix(older, newer, room);
    return Difference{prefix, Text(older.substr(prefix, older.size() - prefix - suffix)),
                      Text(newer.substr(prefix, newer.size() - prefix - suffix))};
}

// Replaces count bytes at pos with middle. A text that has to grow gets a new buffer with a
// little room instead of the standard doubling, so a large text costs about its own size.
void Splice(Text& text, std::size_t pos, std::size_t count, const Text& middle) {
    const std::size_t size = text.size() - count + middle.size();
    if (size <= text.capacity()) {
        text.replace(pos, count, middle);
        return;
    }
    Text grown;
    grown.reserve(size + size / 64 + 64);
    grown.append(text, 0, pos).append(middle).append(text, pos + count);
    text.swap(grown);
}

// Turns the newer text of a pair into the older one in place, or the other way round.
void StepToOlder(Text& text, const Difference& difference) {
    Splice(text, difference.prefix, difference.newerMiddle.size(), difference.olderMiddle);
}

void StepToNewer(Text& text, const Difference& difference) {
    Splice(text, difference.prefix, difference.olderMiddle.size(), difference.newerMiddle);
}

std::size_t HeapBytes(const Text& text) {
    // Short texts live inside the string object itself.
    return text.capacity() > Text().capacity() ? text.capacity() + 1 : 0;
}

} // namespace

// Entry k (1-based) has caret carets[k - 1]; differences[k - 1] links entries k and k + 1; the
// last entry's text is newest. cache holds the text of one other entry, cacheIndex (0: none).
struct EditHistory::Storage {
    Text newest;
    std::vector<std::int32_t> carets;
    std::vector<Difference> differences;
    Text cache;
    int cacheIndex = 0;

    int Count() const { return static_cast<int>(carets.size()); }

    void DropCache() {
        Text().swap(cache);
        cacheIndex = 0;
    }

    // Rebuilds entry index into cache, starting from whichever of the newest text and the
    // cached entry is nearer.
    void Materialise(int index) {
        const int last = Count();
        if (cacheIndex == 0 || std::abs(last - index) < std::abs(cacheIndex - index)) {
            Assign(cache, newest);
            cacheIndex = last;
        }
        for (; cacheIndex > index; --cacheIndex) {
            StepToOlder(cache, differences[static_cast<std::size_t>(cacheIndex - 2)]);
        }
        for (; cacheIndex < index; ++cacheIndex) {
            StepToNewer(cache, differences[static_cast<std::size_t>(cacheIndex - 1)]);
        }
    }

    // Copies value into target. Growing gets a little room rather than the standard doubling;
    // a text that shrank a lot gives its surplus back.
    static void Assign(Text& target, const Text& value) {
        if (value.size() > target.capacity()) {
            Text grown;
            grown.reserve(value.size() + value.size() / 64 + 64);
            grown.append(value);
            target.swap(grown);
            return;
        }
        target.assign(value);
        if (target.capacity() > value.size() + value.size() / 4 + 4096) {
            target.shrink_to_fit();
        }
    }
};

EditHistory::EditHistory() : storage_(std::make_unique<Storage>()) {
    InitHistory();
}

EditHistory::~EditHistory() = default;

void EditHistory::InitHistory() {
    storage_ = std::make_unique<Storage>();
    storage_->carets.push_back(0);
    position_ = 0;
    recording_ = false;
}

void EditHistory::SeedHistory(const Text& text) {
    Storage& s = *storage_;
    if (s.Count() == 1) {
        Storage::Assign(s.newest, text);
    } else {
        // Only entry 1 changes: its link to entry 2 is made again.
        s.Materialise(2);
        s.differences.front() = Diff(text, s.cache);
    }
    if (s.cacheIndex == 1) {
        s.DropCache();
    }
    position_ = 1;
    recording_ = true;
}

int EditHistory::Count() const {
    return storage_->Count();
}

void EditHistory::Append(const Text& text, std::int32_t caret) {
    Storage& s = *storage_;
    s.differences.push_back(Diff(s.newest, text));
    Storage::Assign(s.newest, text);
    s.carets.push_back(caret);
    // Stepping starts again from the newest text; the cached copy would only hold memory.
    s.DropCache();
    position_ = s.Count();
    if (s.Count() <= kMaxEntries) {
        return;
    }
    s.carets.erase(s.carets.begin(), s.carets.begin() + kTrimCount);
    s.differences.erase(s.differences.begin(), s.differences.begin() + kTrimCount);
    position_ -= kTrimCount;
}

std::optional<HistoryEntry> EditHistory::StepBack() {
    if (position_ <= 1) {
        return std::nullopt;
    }
    --position_;
    return Entry(position_);
}

std::optional<HistoryEntry> EditHistory::StepForward() {
    if (position_ >= Count()) {
        return std::nullopt;
    }
    ++position_;
    return Entry(position_);
}

HistoryEntry EditHistory::Entry(int index) const {
    Storage& s = *storage_;
    if (index < 1 || index > s.Count()) {
        return {};
    }
    const std::int32_t caret = s.carets[static_cast<std::size_t>(index - 1)];
    if (index == s.Count()) {
        return HistoryEntry{s.newest, caret};
    }
    s.Materialise(index);
    return HistoryEntry{s.cache, caret};
}

std::size_t EditHistory::StoredBytes() const {
    const Storage& s = *storage_;
    std::size_t bytes = sizeof(Storage) + HeapBytes(s.newest) + HeapBytes(s.cache) +
                        s.carets.capacity() * sizeof(std::int32_t) +
                        s.differences.capacity() * sizeof(Difference);
    for (const Difference& difference : s.differences) {
        bytes += HeapBytes(difference.olderMiddle) + HeapBytes(difference.newerMiddle);
    }
    return bytes;
}

} // namespace quorvel::editor
