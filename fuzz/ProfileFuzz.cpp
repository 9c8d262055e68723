// Writes random values into a random INI file through ProfileFile and checks what a write may
// change: the written value reads back exactly, every other value reads as before, and the file
// changes only in the written line (or by lines put in, for a new key).
//
// Input layout (every part may be cut short; missing bytes read as zero):
//   byte 0       bit 0: code page 936 instead of UTF-8; bit 1: start without a file
//   bytes 1-2    length L of the file (little endian), then L bytes of file
//   then writes  a section, a key and a value, each one byte: an index into its pool below or,
//                with bit 7 set, a length byte and that many bytes; a value byte with bit 6 set
//                (bit 7 clear) makes a value of more than 10,239 bytes.
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "store/Profile.h"
#include "text/CodePage.h"
#include "text/TextOps.h"
#include "text/Words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::fuzz {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t kMaxWrites = 4;
constexpr std::size_t kMaxNamesRead = 16;
// A default no stored value can equal, to tell a missing key from an empty value.
constexpr std::string_view kMissing = "\x01missing\x02";

// A pool entry: its bytes, whether they are an interface word (UTF-8, met in the active code
// page), and whether every file must accept it in a write.
struct Name {
    std::string_view bytes;
    bool interfaceWord = false;
    bool plain = false;
};

// A name or value that every write must accept.
constexpr Name Plain(std::string_view bytes) {
    return {bytes, false, true};
}
// An interface word, in the active code page, that every write must accept.
constexpr Name Word(std::string_view utf8) {
    return {utf8, true, true};
}
// A name or value at an edge, that a write may refuse.
constexpr Name Edge(std::string_view bytes) {
    return {bytes, false, false};
}

constexpr std::array kSections{
    Plain("S"sv),    Plain("s"sv),  Word("配置"sv), Word("文件"sv),     Edge(""sv),   Edge(" S"sv),
    Edge("S "sv),    Edge("[x]"sv), Edge("a]b"sv),  Edge(";c"sv),       Edge("#d"sv), Edge("x=y"sv),
    Edge("\"q\""sv), Edge("S\r"sv), Edge("\x81"sv), Edge("\xD6\xD0"sv),
};

constexpr std::array kKeys{
    Plain("1"sv),    Plain("k"sv),  Plain("K"sv), Plain("key"sv), Word("当前文件"sv), Edge(""sv),
    Edge("="sv),     Edge("a=b"sv), Edge(" k"sv), Edge("k "sv),   Edge(";k"sv),       Edge("[k]"sv),
    Edge("\"k\""sv), Edge("k;"sv),  Edge("#k"sv), Edge("\x81"sv), Edge("k\r"sv),
};

constexpr std::array kValues{
    Plain("v"sv),    Plain(""sv),    Plain(" v "sv),   Plain("\"q\""sv),  Plain("'q'"sv),
    Plain("\""sv),   Plain("'"sv),   Plain("a;b#c"sv), Plain("\"a\" "sv), Plain("  "sv),
    Plain("=[s]"sv), Word("真"sv),   Edge("x\r\ny"sv), Edge("\r"sv),      Edge("\n"sv),
    Edge("\x81"sv),  Edge("a\0b"sv), Edge("\t\v"sv),
};

struct Picked {
    std::string bytes;
    bool plain = false;
};

Picked Chosen(std::uint8_t choice, InputReader& in, const auto& pool) {
    if ((choice & 0x80) != 0) {
        return {in.ShortBytes(), false};
    }
    const Name& name = pool[choice % pool.size()];
    if (name.interfaceWord) {
        return {text::InterfaceText(name.bytes), name.plain};
    }
    return {std::string(name.bytes), name.plain};
}

Picked PickFrom(InputReader& in, const auto& pool) {
    return Chosen(in.Byte(), in, pool);
}

// A value around the longest that reads back whole, of single-byte and multi-byte characters, so
// that values on both sides of the limit are written; only those within it are plain.
Picked LongValue(InputReader& in) {
    const std::size_t length = 10230;
    const std::uint8_t shape = in.Byte();
    std::string value = (shape & 0x80) != 0 ? " " : "";
    const std::string_view piece = text::InterfaceText("ab中");
    while (value.size() < length + shape % 24) {
        value.append(piece);
    }
    const bool fits = value.size() <= store::ProfileFile::kLongestValue;
    return {value, fits};
}

Picked PickValue(InputReader& in) {
    const std::uint8_t choice = in.Byte();
    if ((choice & 0xC0) == 0x40) {
        return LongValue(in);
    }
    return Chosen(choice, in, kValues);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view TrimBlanks(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && IsBlank(value.back())) {
        value.remove_suffix(1);
    }
    return value;
}

// A name as a reader could take it: blanks and one pair of quotes dropped, ASCII letters folded
// byte by byte. Two names that are the same here may be the same entry of the file, so the check
// of untouched values leaves them out.
std::string Loose(std::string_view name) {
    name = TrimBlanks(name);
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
        name.back() == name.front()) {
        name = TrimBlanks(name.substr(1, name.size() - 2));
    }
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return folded;
}

void AddName(std::vector<std::string>& names, std::string_view name) {
    if (names.size() < kMaxNamesRead &&
        std::find(names.begin(), names.end(), name) == names.end()) {
        names.emplace_back(name);
    }
}

// Every name the file might hold, taken generously from its lines (which may end in CR LF, LF or
// CR), plus the names about to be written.
struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

Names CollectNames(std::string_view file, const Picked& section, const Picked& key) {
    Names names;
    AddName(names.sections, section.bytes);
    AddName(names.keys, key.bytes);
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = file.size();
        }
        const std::string_view line = TrimBlanks(file.substr(start, end - start));
        if (line.starts_with('[')) {
            const std::string_view inner = line.substr(1, line.find(']') - 1);
            AddName(names.sections, TrimBlanks(inner));
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            AddName(names.keys, TrimBlanks(line.substr(0, equals)));
        }
        start = end + 1;
    }
    return names;
}

using Values = std::vector<std::string>; // sections × keys, in that order

Values ReadAll(const store::ProfileFile& file, const Names& names) {
    Values values;
    const std::string missing(kMissing);
    for (const std::string& section : names.sections) {
        for (const std::string& key : names.keys) {
            values.push_back(file.Read(section, key, missing));
        }
    }
    return values;
}

bool HoldsBreak(std::string_view value) {
    return value.find_first_of("\r\n") != std::string_view::npos;
}

// The bytes that old and now share at their start and, after that, at their end.
struct CommonEnds {
    std::size_t prefix = 0;
    std::size_t suffix = 0;
};

CommonEnds Compare(std::string_view old, std::string_view now) {
    CommonEnds ends;
    const std::size_t shorter = std::min(old.size(), now.size());
    while (ends.prefix < shorter && old[ends.prefix] == now[ends.prefix]) {
        ++ends.prefix;
    }
    while (ends.suffix < shorter - ends.prefix &&
           old[old.size() - 1 - ends.suffix] == now[now.size() - 1 - ends.suffix]) {
        ++ends.suffix;
    }
    return ends;
}

void RunWrite(const std::string& path, InputReader& in) {
    const Picked section = PickFrom(in, kSections);
    const Picked key = PickFrom(in, kKeys);
    const Picked value = PickValue(in);
    Note("Write " + Escaped(section.bytes) + " " + Escaped(key.bytes) + " " + Escaped(value.bytes));

    const std::optional<std::string> before = ReadWhole(path);
    const Names names = CollectNames(before.value_or(""), section, key);
    store::ProfileFile file(path);
    const Values valuesBefore = ReadAll(file, names);
    const bool keyExisted = valuesBefore.front() != kMissing;

    const store::ProfileWriteOutcome outcome = file.Write(section.bytes, key.bytes, value.bytes);
    const std::optional<std::string> after = ReadWhole(path);
    Note("  outcome " + std::to_string(static_cast<int>(outcome)) + ", file " +
         (after ? Escaped(*after) : "missing"));
    QUORVEL_CHECK(outcome != store::ProfileWriteOutcome::WriteFailed);
    if (HoldsBreak(value.bytes)) {
        QUORVEL_CHECK(outcome == store::ProfileWriteOutcome::Refused);
    } else if (value.bytes.size() > store::ProfileFile::kLongestValue &&
               outcome != store::ProfileWriteOutcome::Refused) {
        QUORVEL_CHECK(outcome == store::ProfileWriteOutcome::TooLong);
    }
    if (section.plain && key.plain && value.plain) {
        QUORVEL_CHECK(outcome == store::ProfileWriteOutcome::Written);
    }
    if (outcome != store::ProfileWriteOutcome::Written) {
        QUORVEL_CHECK(after == before);
        return;
    }

    // The value reads back through the object that wrote it and through a fresh one.
    QUORVEL_CHECK(after.has_value());
    const std::string& expected = value.bytes; // every value written reads back whole
    const std::string missing(kMissing);
    QUORVEL_CHECK(file.Read(section.bytes, key.bytes, missing) == expected);
    const store::ProfileFile fresh(path);
    QUORVEL_CHECK(fresh.Read(section.bytes, key.bytes, missing) == expected);

    // Every other name reads as it did.
    const Values valuesAfter = ReadAll(fresh, names);
    QUORVEL_CHECK(ReadAll(file, names) == valuesAfter);
    for (std::size_t s = 0; s < names.sections.size(); ++s) {
        for (std::size_t k = 0; k < names.keys.size(); ++k) {
            const bool sameEntry = Loose(names.sections[s]) == Loose(section.bytes) &&
                                   Loose(names.keys[k]) == Loose(key.bytes);
            const std::size_t at = s * names.keys.size() + k;
            QUORVEL_CHECK(sameEntry || valuesAfter[at] == valuesBefore[at]);
        }
    }

    // An existing key changes inside its own line; a new one only puts bytes in.
    const std::string old = before.value_or("");
    const std::string& now = *after;
    const CommonEnds ends = Compare(old, now);
    const std::string_view oldMiddle =
        std::string_view(old).substr(ends.prefix, old.size() - ends.prefix - ends.suffix);
    const std::string_view newMiddle =
        std::string_view(now).substr(ends.prefix, now.size() - ends.prefix - ends.suffix);
    if (keyExisted) {
        QUORVEL_CHECK(!HoldsBreak(oldMiddle) && !HoldsBreak(newMiddle));
    } else {
        QUORVEL_CHECK(oldMiddle.empty());
    }
}

} // namespace

int RunProfileInput(const std::uint8_t* data, std::size_t size) {
    Trail().clear();
    InputReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const CodePageScope codePage((flags & 1) != 0 ? CodePage::Gbk : CodePage::Utf8);
    const std::string path = ScratchDir::Path() + "/kelmora.ini";
    RemoveFile(path);
    const std::string codePageName = (flags & 1) != 0 ? "code page 936, " : "UTF-8, ";
    if ((flags & 2) == 0) {
        const std::string bytes = in.Bytes(in.Length16());
        WriteWhole(path, bytes);
        Note(codePageName + "file " + Escaped(bytes));
    } else {
        Note(codePageName + "no file");
    }
    for (std::size_t write = 0; write < kMaxWrites && !in.empty(); ++write) {
        RunWrite(path, in);
        // No temporary file is left beside the settings file.
        QUORVEL_CHECK(ScratchDir::Entries().size() == (ReadWhole(path) ? 1U : 0U));
    }
    RemoveFile(path);
    return 0;
}

} // namespace quorvel::fuzz

#ifndef QUORVEL_FUZZ_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::RunProfileInput(data, size);
}
#endif
