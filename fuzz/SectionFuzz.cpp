// Runs a random sequence of section operations on a random document and compares every result,
// and the file's bytes after every step, with the plain model in DocumentModel.h.
//
// Input layout (every part may be cut short; missing bytes read as zero):
//   byte 0       bit 0: code page 936 instead of UTF-8; bit 1: start without a file
//   bytes 1-2    length L of the file (little endian), then L bytes of file
//   then steps   one byte choosing the operation (its value modulo 7), then its arguments:
//                a label is one byte, an index into the label pool below, or, with bit 7 set, a
//                length byte and that many bytes; a text is one byte, an index into the text
//                pool, or, with bit 7 set, a length byte and that many bytes.
#include "fuzz/DocumentModel.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "store/Document.h"
#include "text/CodePage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::fuzz {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t kMaxSteps = 24;

// Labels that meet the format's edges: case, brackets, breaks (refused), multi-byte characters
// in both code pages, a lone lead byte, the listing's end bytes.
constexpr std::array kLabels{
    ""sv,         "a"sv,      "A"sv,     "b"sv,     "[#"sv,   "a]"sv,   "]"sv,
    "[#a]"sv,     "x\r\ny"sv, "\r"sv,    "\n"sv,    "a\rb"sv, " a"sv,   "\xE4\xB8\xAD"sv,
    "\xD6\xD0"sv, "\x81"sv,   "a\x81"sv, "\x81]"sv, "\x1A"sv, "a\0b"sv, "AB"sv,
};

constexpr std::array kTexts{
    "one"sv,  "[#a]"sv,  "x\r\n[#b]\r\ny"sv,           "line\r\n"sv,    "\r\n"sv,     "\n"sv,
    "a\0b"sv, "x\n[#"sv, "\xE4\xB8\xAD\r\n\xD6\xD0"sv, "[#A]\r\ntwo"sv, "\n[#a]\n"sv, "\x81"sv,
};

std::string PickFrom(InputReader& in, auto& pool) {
    const std::uint8_t choice = in.Byte();
    if ((choice & 0x80) != 0) {
        return in.ShortBytes();
    }
    return std::string(pool[choice % pool.size()]);
}

model::Document OnDisk(const std::string& path) {
    const auto bytes = ReadWhole(path);
    return bytes ? model::Document{true, *bytes} : model::Document{};
}

// After every step the file is what the model holds, and no temporary file was left beside it.
void CheckFile(const std::string& path, const model::Document& expected) {
    QUORVEL_CHECK(OnDisk(path) == expected);
    const auto entries = ScratchDir::Entries();
    QUORVEL_CHECK(entries.size() == (expected.exists ? 1U : 0U));
}

// Listing keeps nothing between calls, so a file already listed in the same state is skipped:
// each listing allocates a large read buffer, which the sanitizers make slow.
void StepListLabels(const std::string& path, const model::Document& doc,
                    std::optional<model::Document>& listed) {
    Note("ListLabels");
    if (listed == doc) {
        return;
    }
    QUORVEL_CHECK(store::ListLabels(path) == model::ListLabels(doc));
    listed = doc;
}

void StepReadSection(const std::string& path, const model::Document& doc, InputReader& in) {
    const std::string label = PickFrom(in, kLabels);
    Note("ReadSection " + Escaped(label));
    const store::SectionRead actual = store::ReadSection(path, label);
    const store::SectionRead expected = model::ReadSection(doc, label);
    QUORVEL_CHECK(actual.found == expected.found);
    QUORVEL_CHECK(actual.text == expected.text);
}

void StepSaveSection(const std::string& path, model::Document& doc, InputReader& in,
                     store::SaveMode mode) {
    const std::string label = PickFrom(in, kLabels);
    const std::string text = mode == store::SaveMode::Save ? PickFrom(in, kTexts) : "ignored";
    Note(std::string(mode == store::SaveMode::Save ? "SaveSection save " : "SaveSection create ") +
         Escaped(label) + " " + Escaped(text));
    const model::Document before = doc;
    const store::SaveOutcome actual = store::SaveSection(path, label, mode, text);
    const store::SaveOutcome expected = model::SaveSection(doc, label, mode, text);
    if (expected == store::SaveOutcome::NothingToSave && model::IsRefusedLabel(label)) {
        // Both refusals leave the file alone; which one is reported first is free.
        QUORVEL_CHECK(actual == expected || actual == store::SaveOutcome::InvalidLabel);
    } else {
        QUORVEL_CHECK(actual == expected);
    }
    if (mode == store::SaveMode::Create) {
        const bool added =
            expected == store::SaveOutcome::CreatedFile || expected == store::SaveOutcome::Appended;
        QUORVEL_CHECK(store::IsAdded(actual) == added);
    }
    // A save that wrote its section reads back its text, cut at a zero byte, unless the text
    // opens a section of its own or ends in a CR that a following LF takes into its break. An
    // appended section is the last one, so the break after it reads as part of its text.
    const bool wrote = expected == store::SaveOutcome::CreatedFile ||
                       expected == store::SaveOutcome::Appended ||
                       expected == store::SaveOutcome::Replaced;
    const bool plainText =
        text.find("\n[#") == std::string::npos && !text.starts_with("[#") && !text.ends_with('\r');
    if (wrote && mode == store::SaveMode::Save && plainText) {
        const std::string written =
            expected == store::SaveOutcome::Appended ? text + model::BreakFor(before.bytes) : text;
        const store::SectionRead read = store::ReadSection(path, label);
        QUORVEL_CHECK(read.found);
        QUORVEL_CHECK(read.text == model::UpToZero(written));
    }
}

void StepRenameLabel(const std::string& path, model::Document& doc, InputReader& in) {
    const std::string oldLabel = PickFrom(in, kLabels);
    const std::string newLabel = PickFrom(in, kLabels);
    Note("RenameLabel " + Escaped(oldLabel) + " " + Escaped(newLabel));
    const store::RenameOutcome actual = store::RenameLabel(path, oldLabel, newLabel);
    const store::RenameOutcome expected = model::RenameLabel(doc, oldLabel, newLabel);
    if (expected == store::RenameOutcome::NotFound && model::IsRefusedLabel(newLabel)) {
        QUORVEL_CHECK(actual == expected || actual == store::RenameOutcome::InvalidLabel);
    } else {
        QUORVEL_CHECK(actual == expected);
    }
}

void StepDeleteSection(const std::string& path, model::Document& doc, InputReader& in) {
    const std::string label = PickFrom(in, kLabels);
    Note("DeleteSection " + Escaped(label));
    const model::Document before = doc;
    const store::DeleteOutcome actual = store::DeleteSection(path, label);
    const store::DeleteOutcome expected = model::DeleteSection(doc, label);
    QUORVEL_CHECK(actual == expected);
    // Deleting only ever takes bytes out, one span of them.
    const std::string& after = doc.bytes;
    QUORVEL_CHECK(after.size() <= before.bytes.size());
    const std::size_t removed = before.bytes.size() - after.size();
    std::size_t prefix = 0;
    while (prefix < after.size() && after[prefix] == before.bytes[prefix]) {
        ++prefix;
    }
    QUORVEL_CHECK(before.bytes.compare(prefix + removed, std::string::npos, after, prefix) == 0);
}

void StepReadWholeDocument(const std::string& path, const model::Document& doc) {
    Note("ReadWholeDocument");
    QUORVEL_CHECK(store::ReadWholeDocument(path) == model::ReadWholeDocument(doc));
}

} // namespace

int RunSectionInput(const std::uint8_t* data, std::size_t size) {
    Trail().clear();
    InputReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const CodePageScope codePage((flags & 1) != 0 ? CodePage::Gbk : CodePage::Utf8);
    model::Document doc;
    doc.exists = (flags & 2) == 0;
    if (doc.exists) {
        doc.bytes = in.Bytes(in.Length16());
    }
    Note(std::string((flags & 1) != 0 ? "code page 936, " : "UTF-8, ") +
         (doc.exists ? "file " + Escaped(doc.bytes) : "no file"));

    const std::string path = ScratchDir::Path() + "/doc.txt";
    RemoveFile(path);
    if (doc.exists) {
        WriteWhole(path, doc.bytes);
    }
    std::optional<model::Document> listed;
    for (std::size_t step = 0; step < kMaxSteps && !in.empty(); ++step) {
        switch (in.Byte() % 7) {
        case 0:
            StepListLabels(path, doc, listed);
            break;
        case 1:
            StepReadSection(path, doc, in);
            break;
        case 2:
            StepSaveSection(path, doc, in, store::SaveMode::Save);
            break;
        case 3:
            StepSaveSection(path, doc, in, store::SaveMode::Create);
            break;
        case 4:
            StepRenameLabel(path, doc, in);
            break;
        case 5:
            StepDeleteSection(path, doc, in);
            break;
        default:
            StepReadWholeDocument(path, doc);
            break;
        }
        CheckFile(path, doc);
    }
    RemoveFile(path);
    return 0;
}

} // namespace quorvel::fuzz

#ifndef QUORVEL_FUZZ_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::RunSectionInput(data, size);
}
#endif
