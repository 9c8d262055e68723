#include "Subprocess.h"
#include "support/CaseName.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

using namespace std::string_literals;

// The fixture every run starts from, in a fresh directory.
const std::string kDoc = "[#a]\r\nalpha\r\n[#b]\r\nbeta";
const std::string kZeroDoc = "[#z]\r\nbefore\0after\r\n"s;
const std::string kManualBackup = "manual copy";
const std::string kIni =
    "[配置]\r\n当前文件=/n/work.txt\r\n[文件]\r\n1=/n/a.txt\r\n2=空\r\n3=/n/b.txt\r\n";

void WriteFixture(const TempDir& dir) {
    WriteBytes(dir.File("doc.txt"), kDoc);
    WriteBytes(dir.File("zero.txt"), kZeroDoc);
    WriteBytes(dir.File("tiny.txt"), "abcd");
    WriteBytes(dir.File("手备_doc.txt"), kManualBackup);
    WriteBytes(dir.File("kelmora.ini"), kIni);
    std::filesystem::create_directory(dir.File("folder"));
}

std::string Expand(std::string text, const std::string& directory) {
    for (std::size_t at = text.find("{D}"); at != std::string::npos; at = text.find("{D}", at)) {
        text.replace(at, 3, directory);
        at += directory.size();
    }
    return text;
}

// A file after the run: its bytes, or nullopt when it must not exist.
struct FileCheck {
    std::string name;
    std::optional<std::string> bytes;
};

enum class Disk { Roomy, Full };

struct CliCase {
    std::string name{};
    std::vector<std::string> arguments{}; // "{D}" stands for the fixture's directory
    std::string input{};
    int status = 0;
    std::string out{};    // exactly
    std::string errHas{}; // a part of standard error; empty: standard error stays empty
    std::vector<FileCheck> files{};
    Disk disk = Disk::Roomy;
    std::vector<std::pair<std::string, std::optional<std::string>>> environment{};
};

class QuorvelNotes : public ::testing::TestWithParam<CliCase> {};

TEST_P(QuorvelNotes, RunsAsDescribed) {
    const CliCase& c = GetParam();
    const TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    WriteFixture(dir);

    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) {
        arguments.push_back(Expand(argument, dir.path()));
    }
    ProcessOptions options;
    options.input = c.input;
    options.environment = c.environment;
    options.environment.insert(options.environment.begin(),
                               {{"LC_ALL", "C.UTF-8"}, {"QUORVEL_CODEPAGE", std::nullopt}});
    if (c.disk == Disk::Full) {
        options.fileSizeLimit = 4; // no file can grow past 4 bytes
    }
    const ProcessResult result = RunProcess(QUORVEL_NOTES_PATH, arguments, options);

    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, Expand(c.out, dir.path()));
    if (c.errHas.empty()) {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_NE(result.err.find(Expand(c.errHas, dir.path())), std::string::npos) << result.err;
    }
    for (const FileCheck& file : c.files) {
        SCOPED_TRACE(file.name);
        const std::string path = dir.File(file.name);
        if (file.bytes) {
            EXPECT_EQ(ReadBytes(path), Expand(*file.bytes, dir.path()));
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
        }
    }
    // No temporary file is left in the directory, whatever the outcome.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

const FileCheck kDocUnchanged{"doc.txt", kDoc};
const FileCheck kIniUnchanged{"kelmora.ini", kIni};

INSTANTIATE_TEST_SUITE_P(
    Documents, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "Labels", .arguments = {"labels", "{D}/doc.txt"}, .out = "a\nb\n"},
        CliCase{.name = "LabelsOfAMissingDocument", .arguments = {"labels", "{D}/missing.txt"}},
        CliCase{.name = "LabelsOfAPathUnderAFile", .arguments = {"labels", "{D}/doc.txt/x"}},
        CliCase{.name = "LabelsOfADirectory",
                .arguments = {"labels", "{D}/folder"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"},
        CliCase{.name = "Read", .arguments = {"read", "{D}/doc.txt", "a"}, .out = "alpha"},
        CliCase{
            .name = "ReadTheLastSection", .arguments = {"read", "{D}/doc.txt", "b"}, .out = "beta"},
        CliCase{.name = "ReadStopsAtAZeroByte",
                .arguments = {"read", "{D}/zero.txt", "z"},
                .out = "before"},
        CliCase{.name = "ReadAMissingLabel",
                .arguments = {"read", "{D}/doc.txt", "A"},
                .status = 1,
                .errHas = "no such label: A"},
        CliCase{.name = "ReadFromAMissingDocument",
                .arguments = {"read", "{D}/missing.txt", "a"},
                .status = 1,
                .errHas = "no such label"},
        CliCase{.name = "ReadFromADirectory",
                .arguments = {"read", "{D}/folder", "a"},
                .status = 3,
                .errHas = "cannot read"},
        CliCase{.name = "Cat", .arguments = {"cat", "{D}/doc.txt"}, .out = kDoc},
        CliCase{.name = "CatStopsAtAZeroByte",
                .arguments = {"cat", "{D}/zero.txt"},
                .out = "[#z]\r\nbefore"},
        CliCase{.name = "CatOfAMissingDocument", .arguments = {"cat", "{D}/missing.txt"}},
        CliCase{.name = "CatOfADirectory",
                .arguments = {"cat", "{D}/folder"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Changes, QuorvelNotes,
    ::testing::Values(CliCase{.name = "SaveReplacesBytesForBytes",
                              .arguments = {"save", "{D}/doc.txt", "b"},
                              .input = "one\r\ntwo\0three\r\n\r\n"s,
                              .files = {{"doc.txt",
                                         "[#a]\r\nalpha\r\n[#b]\r\none\r\ntwo\0three\r\n\r\n"s}}},
                      CliCase{.name = "SaveKeepsTheSectionsAfter",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .input = "A\nlone LF",
                              .files = {{"doc.txt", "[#a]\r\nA\nlone LF\r\n[#b]\r\nbeta"}}},
                      CliCase{.name = "SaveAppendsANewLabel",
                              .arguments = {"save", "{D}/doc.txt", "c"},
                              .input = "gamma",
                              .files = {{"doc.txt", kDoc + "\r\n[#c]\r\ngamma\r\n"}}},
                      CliCase{.name = "SaveCreatesAMissingDocument",
                              .arguments = {"save", "{D}/new.txt", "a"},
                              .input = "text",
                              .files = {{"new.txt", "[#a]\r\ntext"}}},
                      CliCase{.name = "SaveOfEmptyInputDoesNothing",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .files = {kDocUnchanged}},
                      CliCase{.name = "SaveUnderAFileFails",
                              .arguments = {"save", "{D}/doc.txt/x", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt/x"},
                      CliCase{.name = "SaveOnAFullDiskFails",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full},
                      CliCase{.name = "SaveIntoADirectoryFails",
                              .arguments = {"save", "{D}/folder", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "{D}/folder"},
                      CliCase{.name = "New",
                              .arguments = {"new", "{D}/doc.txt", "c"},
                              .files = {{"doc.txt", kDoc + "\r\n[#c]\r\n"}}},
                      CliCase{.name = "NewInAMissingDocument",
                              .arguments = {"new", "{D}/new.txt", "c"},
                              .files = {{"new.txt", "[#c]"}}},
                      CliCase{.name = "NewForAnExistingLabel",
                              .arguments = {"new", "{D}/doc.txt", "b"},
                              .status = 1,
                              .errHas = "标签已经存在，请重新输入",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "NewWithALineBreakInTheLabel",
                              .arguments = {"new", "{D}/doc.txt", "c\nd"},
                              .status = 1,
                              .errHas = "标签不能包含换行符、零字节或 0x1A",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "NewUnderAFileFails",
                              .arguments = {"new", "{D}/doc.txt/x", "c"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt/x"},
                      CliCase{.name = "Rename",
                              .arguments = {"rename", "{D}/doc.txt", "a", "z"},
                              .files = {{"doc.txt", "[#z]\r\nalpha\r\n[#b]\r\nbeta"}}},
                      CliCase{.name = "RenameAMissingLabel",
                              .arguments = {"rename", "{D}/doc.txt", "q", "z"},
                              .status = 1,
                              .errHas = "重命名失败！",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "RenameToAnExistingLabel",
                              .arguments = {"rename", "{D}/doc.txt", "a", "b"},
                              .status = 1,
                              .errHas = "标签已经存在，请重新输入",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "RenameOnAFullDiskFails",
                              .arguments = {"rename", "{D}/doc.txt", "a", "z"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full},
                      CliCase{.name = "Delete",
                              .arguments = {"delete", "{D}/doc.txt", "a"},
                              .files = {{"doc.txt", "[#b]\r\nbeta"}}},
                      CliCase{.name = "DeleteTheLastSection",
                              .arguments = {"delete", "{D}/doc.txt", "b"},
                              .files = {{"doc.txt", "[#a]\r\nalpha\r\n"}}},
                      CliCase{.name = "DeleteAMissingLabel",
                              .arguments = {"delete", "{D}/doc.txt", "q"},
                              .status = 1,
                              .errHas = "no such label: q",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "DeleteOnAFullDiskFails",
                              .arguments = {"delete", "{D}/doc.txt", "a"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Backups, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "Backup",
                .arguments = {"backup", "{D}/doc.txt"},
                .files = {{"备_doc.txt", kDoc}, {"手备_doc.txt", kManualBackup}}},
        CliCase{.name = "BackupOfFourBytesMakesNone",
                .arguments = {"backup", "{D}/tiny.txt"},
                .status = 1,
                .errHas = "4 bytes or less",
                .files = {{"备_tiny.txt", std::nullopt}}},
        CliCase{.name = "BackupOfAMissingDocumentMakesNone",
                .arguments = {"backup", "{D}/missing.txt"},
                .status = 1,
                .errHas = "no such document",
                .files = {{"备_missing.txt", std::nullopt}}},
        CliCase{.name = "ManualBackupOfFourBytes",
                .arguments = {"backup", "--manual", "{D}/tiny.txt"},
                .files = {{"手备_tiny.txt", "abcd"}}},
        CliCase{.name = "ManualBackupReplacesTheOldOne",
                .arguments = {"backup", "--manual", "{D}/doc.txt"},
                .files = {{"手备_doc.txt", kDoc}, {"备_doc.txt", std::nullopt}}},
        CliCase{.name = "ManualBackupOfAMissingDocumentFails",
                .arguments = {"backup", "--manual", "{D}/missing.txt"},
                .status = 3,
                .errHas = "备份失败",
                .files = {{"手备_missing.txt", std::nullopt}}},
        CliCase{.name = "BackupOnAFullDiskFails",
                .arguments = {"backup", "{D}/doc.txt"},
                .status = 3,
                .errHas = "备份失败: cannot copy {D}/doc.txt to {D}/备_doc.txt",
                .files = {{"备_doc.txt", std::nullopt}},
                .disk = Disk::Full},
        CliCase{.name = "RestoreTheManualBackup",
                .arguments = {"restore", "--manual", "{D}/doc.txt"},
                .files = {{"doc.txt", kManualBackup}, {"手备_doc.txt", kManualBackup}}},
        CliCase{.name = "RestoreAMissingBackup",
                .arguments = {"restore", "{D}/doc.txt"},
                .status = 1,
                .errHas = "找不到备份文件: {D}/备_doc.txt",
                .files = {kDocUnchanged}},
        CliCase{.name = "RestoreOnAFullDiskFails",
                .arguments = {"restore", "--manual", "{D}/doc.txt"},
                .status = 3,
                .errHas = "还原失败",
                .files = {kDocUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "BackupNamesInCodePage936",
                .arguments = {"backup", "{D}/doc.txt"},
                .files = {{"\xB1\xB8_doc.txt", kDoc}, {"备_doc.txt", std::nullopt}},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}},
        CliCase{.name = "BackupNamesInAGbkLocale",
                .arguments = {"backup", "--manual", "{D}/doc.txt"},
                .files = {{"\xCA\xD6\xB1\xB8_doc.txt", kDoc}, {"手备_doc.txt", kManualBackup}},
                .environment = {{"LC_ALL", "zh_CN.GBK"}}},
        // The window's words, in the code page of the path they name.
        CliCase{.name = "RestoreAMissingBackupInCodePage936",
                .arguments = {"restore", "{D}/doc.txt"},
                .status = 1,
                .errHas = "quorvel-notes: \xD5\xD2\xB2\xBB\xB5\xBD\xB1\xB8\xB7\xDD\xCE\xC4"
                          "\xBC\xFE: {D}/\xB1\xB8_doc.txt\n",
                .files = {kDocUnchanged},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}},
        CliCase{.name = "NewForAnExistingLabelInCodePage936",
                .arguments = {"new", "{D}/doc.txt", "b"},
                .status = 1,
                .errHas = "quorvel-notes: \xB1\xEA\xC7\xA9\xD2\xD1\xBE\xAD\xB4\xE6\xD4\xDA"
                          "\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xCA\xE4\xC8\xEB\n",
                .files = {kDocUnchanged},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Settings, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "Get",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "当前文件"},
                .out = "/n/work.txt\n"},
        CliCase{.name = "GetFromTheRegistrySection",
                .arguments = {"get", "{D}/kelmora.ini", "文件", "1"},
                .out = "/n/a.txt\n"},
        CliCase{.name = "GetAMissingKey",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "没有"},
                .out = "\n"},
        CliCase{.name = "GetAMissingKeyWithADefault",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "没有", "dflt"},
                .out = "dflt\n"},
        CliCase{.name = "GetFromAMissingFile",
                .arguments = {"get", "{D}/missing.ini", "配置", "当前文件", "x"},
                .out = "x\n"},
        CliCase{.name = "GetFromADirectory",
                .arguments = {"get", "{D}/folder", "配置", "当前文件"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"},
        CliCase{
            .name = "SetANewKey",
            .arguments = {"set", "{D}/kelmora.ini", "配置", "自动保存", "真"},
            .files = {{"kelmora.ini", "[配置]\r\n当前文件=/n/work.txt\r\n自动保存=真\r\n[文件]\r\n"
                                      "1=/n/a.txt\r\n2=空\r\n3=/n/b.txt\r\n"}}},
        CliCase{.name = "SetALineBreakIsRefused",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "当前文件", "a\nb"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "SetUnderAFileFails",
                .arguments = {"set", "{D}/doc.txt/x.ini", "配置", "k", "v"},
                .status = 3,
                .errHas = "cannot write: {D}/doc.txt/x.ini"},
        CliCase{.name = "SetOnAFullDiskFails",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k", "v"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "Registry",
                .arguments = {"registry", "{D}/kelmora.ini"},
                .out = "/n/a.txt\n/n/b.txt\n"},
        CliCase{.name = "RegistryOfAMissingFile", .arguments = {"registry", "{D}/none.ini"}},
        CliCase{.name = "Register",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c.txt"},
                .files = {{"kelmora.ini", kIni + "4=/n/c.txt\r\n"}}},
        CliCase{.name = "RegisterCreatesTheFile",
                .arguments = {"register", "{D}/new.ini", "/n/c.txt"},
                .files = {{"new.ini", "[文件]\r\n1=/n/c.txt\r\n"}}},
        CliCase{.name = "RegisterARegisteredPath",
                .arguments = {"register", "{D}/kelmora.ini", "/n/b.txt"},
                .status = 1,
                .errHas = "already registered: /n/b.txt",
                .files = {kIniUnchanged}},
        CliCase{.name = "RegisterALineBreak",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c\n.txt"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "RegisterOnAFullDiskFails",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{
            .name = "Unregister",
            .arguments = {"unregister", "{D}/kelmora.ini", "/n/a.txt"},
            .files = {{"kelmora.ini", "[配置]\r\n当前文件=/n/work.txt\r\n[文件]\r\n1=空\r\n2=空\r\n"
                                      "3=/n/b.txt\r\n"}}},
        CliCase{.name = "UnregisterAPathNotRegistered",
                .arguments = {"unregister", "{D}/kelmora.ini", "/n/c.txt"},
                .files = {kIniUnchanged}},
        CliCase{.name = "UnregisterOnAFullDiskFails",
                .arguments = {"unregister", "{D}/kelmora.ini", "/n/a.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "Reregister",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/b.txt", "/n/B.txt"},
                .files = {{"kelmora.ini",
                           "[配置]\r\n当前文件=/n/work.txt\r\n[文件]\r\n1=/n/a.txt\r\n2=空\r\n"
                           "3=/n/B.txt\r\n"}}},
        CliCase{.name = "ReregisterAPathNotRegistered",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/c.txt", "/n/d.txt"},
                .status = 1,
                .errHas = "not registered: /n/c.txt",
                .files = {kIniUnchanged}},
        CliCase{.name = "ReregisterToALineBreak",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", "x\ny"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "ReregisterOnAFullDiskFails",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", "/n/z.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full}),
    CaseName());

const std::string kInvalidLabel = "标签不能包含换行符、零字节或 0x1A";
const std::string kTooLongValue(10240, 'v');
const std::string kTooLongPath = "/" + std::string(10239, 'p');

// What the document format, the settings file or the registry cannot hold is refused with
// status 1 and nothing written.
INSTANTIATE_TEST_SUITE_P(
    Refusals, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "NewWith0x1AInTheLabel",
                .arguments = {"new", "{D}/doc.txt", "c\x1a"},
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "SaveWithACarriageReturnInTheLabel",
                .arguments = {"save", "{D}/doc.txt", "c\r"},
                .input = "text",
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "SaveWith0x1AInTheLabel",
                .arguments = {"save", "{D}/doc.txt", "a\x1a"},
                .input = "text",
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "RenameTo0x1A",
                .arguments = {"rename", "{D}/doc.txt", "b", "bad\x1a"},
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "RenameFromALineFeed",
                .arguments = {"rename", "{D}/doc.txt", "a\nb", "c"},
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "ReadWith0x1AInTheLabel",
                .arguments = {"read", "{D}/doc.txt", "a\x1a"},
                .status = 1,
                .errHas = kInvalidLabel},
        CliCase{.name = "DeleteWithALineFeedInTheLabel",
                .arguments = {"delete", "{D}/doc.txt", "a\n"},
                .status = 1,
                .errHas = kInvalidLabel,
                .files = {kDocUnchanged}},
        CliCase{.name = "SetAValueLongerThanAValueReadsBack",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k", kTooLongValue},
                .status = 1,
                .errHas = "refused: a value longer than 10239 bytes would read back cut",
                .files = {kIniUnchanged}},
        CliCase{.name = "SetTheLongestValueThatReadsBack",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k", std::string(10239, 'v')},
                .files = {{"kelmora.ini",
                           "[配置]\r\n当前文件=/n/work.txt\r\nk=" + std::string(10239, 'v') +
                               "\r\n[文件]\r\n1=/n/a.txt\r\n2=空\r\n"
                               "3=/n/b.txt\r\n"}}},
        CliCase{.name = "RegisterAPathLongerThanAValueReadsBack",
                .arguments = {"register", "{D}/kelmora.ini", kTooLongPath},
                .status = 1,
                .errHas = "refused: a path longer than 10239 bytes would read back cut",
                .files = {kIniUnchanged}},
        CliCase{.name = "RegisterAnEmptyPath",
                .arguments = {"register", "{D}/kelmora.ini", ""},
                .status = 1,
                .errHas = "refused: an empty path would hide every entry after it",
                .files = {kIniUnchanged}},
        CliCase{.name = "RegisterTheRemovedMark",
                .arguments = {"register", "{D}/kelmora.ini", "空"},
                .status = 1,
                .errHas = "refused: 空 marks a removed entry and is never listed",
                .files = {kIniUnchanged}},
        CliCase{.name = "ReregisterToAnEmptyPath",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", ""},
                .status = 1,
                .errHas = "refused: an empty path would hide every entry after it",
                .files = {kIniUnchanged}},
        CliCase{.name = "ReregisterToTheRemovedMark",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", "空"},
                .status = 1,
                .errHas = "refused: 空 marks a removed entry and is never listed",
                .files = {kIniUnchanged}},
        CliCase{.name = "ReregisterToAPathLongerThanAValueReadsBack",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", kTooLongPath},
                .status = 1,
                .errHas = "refused: a path longer than 10239 bytes would read back cut",
                .files = {kIniUnchanged}}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Usage, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "NoCommand", .arguments = {}, .status = 2, .errHas = "Usage:"},
        CliCase{.name = "UnknownCommand",
                .arguments = {"list", "{D}/doc.txt"},
                .status = 2,
                .errHas = "unknown command: list"},
        CliCase{.name = "TooFewArguments",
                .arguments = {"read", "{D}/doc.txt"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "TooManyArguments",
                .arguments = {"labels", "{D}/doc.txt", "a"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "ManualWithoutADocument",
                .arguments = {"backup", "--manual"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "ManualWhereNotTaken",
                .arguments = {"cat", "--manual", "{D}/doc.txt"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "SetWithoutAValue",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k"},
                .status = 2,
                .errHas = "Usage:",
                .files = {kIniUnchanged}},
        CliCase{.name = "SaveWithAMissingLabelArgument",
                .arguments = {"save", "{D}/doc.txt"},
                .input = "text",
                .status = 2,
                .errHas = "Usage:",
                .files = {kDocUnchanged}}),
    CaseName());

TEST(QuorvelNotesHelp, PrintsTheCommandListOnStandardOutput) {
    for (const char* word : {"--help", "-h", "help"}) {
        SCOPED_TRACE(word);
        const ProcessResult result = RunProcess(QUORVEL_NOTES_PATH, {word});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.rfind("Usage: quorvel-notes", 0), 0u);
        for (const char* command :
             {"labels", "read", "save", "new", "rename", "delete", "cat", "backup", "restore",
              "get", "set", "registry", "register", "unregister", "reregister"}) {
            EXPECT_NE(result.out.find("\n  "s + command + " "), std::string::npos) << command;
        }
    }
}

TEST(QuorvelNotesSave, LargeInputWithZeroBytesIsSavedAndReadBack) {
    const TempDir dir;
    const std::string document = dir.File("doc.txt");
    WriteBytes(document, kDoc);
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        text += "line\0\xFF\r\n"s;
    }
    const ProcessResult saved = RunProcess(QUORVEL_NOTES_PATH, {"save", document, "a"}, {text});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(ReadBytes(document), "[#a]\r\n" + text + "\r\n[#b]\r\nbeta");

    // The whole document comes back as it is on disk up to its first zero byte.
    const ProcessResult whole = RunProcess(QUORVEL_NOTES_PATH, {"cat", document});
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.out, "[#a]\r\nline");
}

// cat hands the document on in pieces: its peak memory does not grow with the document.
TEST(QuorvelNotesCat, StreamsALargeDocumentWithoutHoldingIt) {
    const TempDir dir;
    const std::string small = dir.File("small.txt");
    const std::string large = dir.File("large.txt");
    WriteBytes(small, kDoc);
    constexpr std::size_t kLargeSize = std::size_t{32} << 20;
    {
        std::string content;
        content.reserve(kLargeSize);
        for (int section = 0; content.size() < kLargeSize; ++section) {
            content += "[#s" + std::to_string(section) + "]\r\n" + std::string(4000, 'x') + "\r\n";
        }
        WriteBytes(large, content);
    } // freed before the runs: a child's peak counts what it shared with this process at fork

    const ProcessResult baseline = RunProcess(QUORVEL_NOTES_PATH, {"cat", small});
    const ProcessResult whole = RunProcess(QUORVEL_NOTES_PATH, {"cat", large});
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_TRUE(whole.out == ReadBytes(large)) << "output of " << whole.out.size() << " bytes";
    // Holding the document once would take its size; streaming takes a buffer of 1 MiB, well
    // below a quarter of it.
    constexpr long kQuarterKiB = static_cast<long>(kLargeSize / 4 / 1024);
    EXPECT_LT(whole.peakMemoryKiB - baseline.peakMemoryKiB, kQuarterKiB)
        << "peak " << whole.peakMemoryKiB << " KiB, baseline " << baseline.peakMemoryKiB << " KiB";
}

} // namespace
} // namespace quorvel::testing
