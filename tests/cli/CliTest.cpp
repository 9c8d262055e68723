#include "Subprocess.h"
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

std::string CaseName(const ::testing::TestParamInfo<CliCase>& info) {
    return info.param.name;
}

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
        CliCase{.name = "labels", .arguments = {"labels", "{D}/doc.txt"}, .out = "a\nb\n"},
        CliCase{.name = "labels_of_a_missing_document", .arguments = {"labels", "{D}/missing.txt"}},
        CliCase{.name = "labels_of_a_path_under_a_file", .arguments = {"labels", "{D}/doc.txt/x"}},
        CliCase{.name = "labels_of_a_directory",
                .arguments = {"labels", "{D}/folder"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"},
        CliCase{.name = "read", .arguments = {"read", "{D}/doc.txt", "a"}, .out = "alpha"},
        CliCase{.name = "read_the_last_section",
                .arguments = {"read", "{D}/doc.txt", "b"},
                .out = "beta"},
        CliCase{.name = "read_stops_at_a_zero_byte",
                .arguments = {"read", "{D}/zero.txt", "z"},
                .out = "before"},
        CliCase{.name = "read_a_missing_label",
                .arguments = {"read", "{D}/doc.txt", "A"},
                .status = 1,
                .errHas = "no such label: A"},
        CliCase{.name = "read_from_a_missing_document",
                .arguments = {"read", "{D}/missing.txt", "a"},
                .status = 1,
                .errHas = "no such label"},
        CliCase{.name = "read_from_a_directory",
                .arguments = {"read", "{D}/folder", "a"},
                .status = 3,
                .errHas = "cannot read"},
        CliCase{.name = "cat", .arguments = {"cat", "{D}/doc.txt"}, .out = kDoc},
        CliCase{.name = "cat_stops_at_a_zero_byte",
                .arguments = {"cat", "{D}/zero.txt"},
                .out = "[#z]\r\nbefore"},
        CliCase{.name = "cat_of_a_missing_document", .arguments = {"cat", "{D}/missing.txt"}},
        CliCase{.name = "cat_of_a_directory",
                .arguments = {"cat", "{D}/folder"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Changes, QuorvelNotes,
    ::testing::Values(CliCase{.name = "save_replaces_bytes_for_bytes",
                              .arguments = {"save", "{D}/doc.txt", "b"},
                              .input = "one\r\ntwo\0three\r\n\r\n"s,
                              .files = {{"doc.txt",
                                         "[#a]\r\nalpha\r\n[#b]\r\none\r\ntwo\0three\r\n\r\n"s}}},
                      CliCase{.name = "save_keeps_the_sections_after",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .input = "A\nlone LF",
                              .files = {{"doc.txt", "[#a]\r\nA\nlone LF\r\n[#b]\r\nbeta"}}},
                      CliCase{.name = "save_appends_a_new_label",
                              .arguments = {"save", "{D}/doc.txt", "c"},
                              .input = "gamma",
                              .files = {{"doc.txt", kDoc + "\r\n[#c]\r\ngamma\r\n"}}},
                      CliCase{.name = "save_creates_a_missing_document",
                              .arguments = {"save", "{D}/new.txt", "a"},
                              .input = "text",
                              .files = {{"new.txt", "[#a]\r\ntext"}}},
                      CliCase{.name = "save_of_empty_input_does_nothing",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .files = {kDocUnchanged}},
                      CliCase{.name = "save_under_a_file_fails",
                              .arguments = {"save", "{D}/doc.txt/x", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt/x"},
                      CliCase{.name = "save_on_a_full_disk_fails",
                              .arguments = {"save", "{D}/doc.txt", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full},
                      CliCase{.name = "save_into_a_directory_fails",
                              .arguments = {"save", "{D}/folder", "a"},
                              .input = "text",
                              .status = 3,
                              .errHas = "{D}/folder"},
                      CliCase{.name = "new",
                              .arguments = {"new", "{D}/doc.txt", "c"},
                              .files = {{"doc.txt", kDoc + "\r\n[#c]\r\n"}}},
                      CliCase{.name = "new_in_a_missing_document",
                              .arguments = {"new", "{D}/new.txt", "c"},
                              .files = {{"new.txt", "[#c]"}}},
                      CliCase{.name = "new_for_an_existing_label",
                              .arguments = {"new", "{D}/doc.txt", "b"},
                              .status = 1,
                              .errHas = "标签已经存在，请重新输入",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "new_with_a_line_break_in_the_label",
                              .arguments = {"new", "{D}/doc.txt", "c\nd"},
                              .status = 1,
                              .errHas = "line break",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "new_under_a_file_fails",
                              .arguments = {"new", "{D}/doc.txt/x", "c"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt/x"},
                      CliCase{.name = "rename",
                              .arguments = {"rename", "{D}/doc.txt", "a", "z"},
                              .files = {{"doc.txt", "[#z]\r\nalpha\r\n[#b]\r\nbeta"}}},
                      CliCase{.name = "rename_a_missing_label",
                              .arguments = {"rename", "{D}/doc.txt", "q", "z"},
                              .status = 1,
                              .errHas = "重命名失败！",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "rename_on_a_full_disk_fails",
                              .arguments = {"rename", "{D}/doc.txt", "a", "z"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full},
                      CliCase{.name = "delete",
                              .arguments = {"delete", "{D}/doc.txt", "a"},
                              .files = {{"doc.txt", "[#b]\r\nbeta"}}},
                      CliCase{.name = "delete_the_last_section",
                              .arguments = {"delete", "{D}/doc.txt", "b"},
                              .files = {{"doc.txt", "[#a]\r\nalpha\r\n"}}},
                      CliCase{.name = "delete_a_missing_label",
                              .arguments = {"delete", "{D}/doc.txt", "q"},
                              .status = 1,
                              .errHas = "no such label: q",
                              .files = {kDocUnchanged}},
                      CliCase{.name = "delete_on_a_full_disk_fails",
                              .arguments = {"delete", "{D}/doc.txt", "a"},
                              .status = 3,
                              .errHas = "cannot write: {D}/doc.txt",
                              .files = {kDocUnchanged},
                              .disk = Disk::Full}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Backups, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "backup",
                .arguments = {"backup", "{D}/doc.txt"},
                .files = {{"备_doc.txt", kDoc}, {"手备_doc.txt", kManualBackup}}},
        CliCase{.name = "backup_of_four_bytes_makes_none",
                .arguments = {"backup", "{D}/tiny.txt"},
                .status = 1,
                .errHas = "4 bytes or less",
                .files = {{"备_tiny.txt", std::nullopt}}},
        CliCase{.name = "backup_of_a_missing_document_makes_none",
                .arguments = {"backup", "{D}/missing.txt"},
                .status = 1,
                .errHas = "no such document",
                .files = {{"备_missing.txt", std::nullopt}}},
        CliCase{.name = "manual_backup_of_four_bytes",
                .arguments = {"backup", "--manual", "{D}/tiny.txt"},
                .files = {{"手备_tiny.txt", "abcd"}}},
        CliCase{.name = "manual_backup_replaces_the_old_one",
                .arguments = {"backup", "--manual", "{D}/doc.txt"},
                .files = {{"手备_doc.txt", kDoc}, {"备_doc.txt", std::nullopt}}},
        CliCase{.name = "manual_backup_of_a_missing_document_fails",
                .arguments = {"backup", "--manual", "{D}/missing.txt"},
                .status = 3,
                .errHas = "备份失败",
                .files = {{"手备_missing.txt", std::nullopt}}},
        CliCase{.name = "backup_on_a_full_disk_fails",
                .arguments = {"backup", "{D}/doc.txt"},
                .status = 3,
                .errHas = "备份失败: cannot copy {D}/doc.txt to {D}/备_doc.txt",
                .files = {{"备_doc.txt", std::nullopt}},
                .disk = Disk::Full},
        CliCase{.name = "restore_the_manual_backup",
                .arguments = {"restore", "--manual", "{D}/doc.txt"},
                .files = {{"doc.txt", kManualBackup}, {"手备_doc.txt", kManualBackup}}},
        CliCase{.name = "restore_a_missing_backup",
                .arguments = {"restore", "{D}/doc.txt"},
                .status = 1,
                .errHas = "找不到备份文件: {D}/备_doc.txt",
                .files = {kDocUnchanged}},
        CliCase{.name = "restore_on_a_full_disk_fails",
                .arguments = {"restore", "--manual", "{D}/doc.txt"},
                .status = 3,
                .errHas = "还原失败",
                .files = {kDocUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "backup_names_in_code_page_936",
                .arguments = {"backup", "{D}/doc.txt"},
                .files = {{"\xB1\xB8_doc.txt", kDoc}, {"备_doc.txt", std::nullopt}},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}},
        CliCase{.name = "backup_names_in_a_gbk_locale",
                .arguments = {"backup", "--manual", "{D}/doc.txt"},
                .files = {{"\xCA\xD6\xB1\xB8_doc.txt", kDoc}, {"手备_doc.txt", kManualBackup}},
                .environment = {{"LC_ALL", "zh_CN.GBK"}}},
        // The window's words, in the code page of the path they name.
        CliCase{.name = "restore_a_missing_backup_in_code_page_936",
                .arguments = {"restore", "{D}/doc.txt"},
                .status = 1,
                .errHas = "quorvel-notes: \xD5\xD2\xB2\xBB\xB5\xBD\xB1\xB8\xB7\xDD\xCE\xC4"
                          "\xBC\xFE: {D}/\xB1\xB8_doc.txt\n",
                .files = {kDocUnchanged},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}},
        CliCase{.name = "new_for_an_existing_label_in_code_page_936",
                .arguments = {"new", "{D}/doc.txt", "b"},
                .status = 1,
                .errHas = "quorvel-notes: \xB1\xEA\xC7\xA9\xD2\xD1\xBE\xAD\xB4\xE6\xD4\xDA"
                          "\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xCA\xE4\xC8\xEB\n",
                .files = {kDocUnchanged},
                .environment = {{"QUORVEL_CODEPAGE", "936"}}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Settings, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "get",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "当前文件"},
                .out = "/n/work.txt\n"},
        CliCase{.name = "get_from_the_registry_section",
                .arguments = {"get", "{D}/kelmora.ini", "文件", "1"},
                .out = "/n/a.txt\n"},
        CliCase{.name = "get_a_missing_key",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "没有"},
                .out = "\n"},
        CliCase{.name = "get_a_missing_key_with_a_default",
                .arguments = {"get", "{D}/kelmora.ini", "配置", "没有", "dflt"},
                .out = "dflt\n"},
        CliCase{.name = "get_from_a_missing_file",
                .arguments = {"get", "{D}/missing.ini", "配置", "当前文件", "x"},
                .out = "x\n"},
        CliCase{.name = "get_from_a_directory",
                .arguments = {"get", "{D}/folder", "配置", "当前文件"},
                .status = 3,
                .errHas = "cannot read: {D}/folder"},
        CliCase{
            .name = "set_a_new_key",
            .arguments = {"set", "{D}/kelmora.ini", "配置", "自动保存", "真"},
            .files = {{"kelmora.ini", "[配置]\r\n当前文件=/n/work.txt\r\n自动保存=真\r\n[文件]\r\n"
                                      "1=/n/a.txt\r\n2=空\r\n3=/n/b.txt\r\n"}}},
        CliCase{.name = "set_a_line_break_is_refused",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "当前文件", "a\nb"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "set_under_a_file_fails",
                .arguments = {"set", "{D}/doc.txt/x.ini", "配置", "k", "v"},
                .status = 3,
                .errHas = "cannot write: {D}/doc.txt/x.ini"},
        CliCase{.name = "set_on_a_full_disk_fails",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k", "v"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "registry",
                .arguments = {"registry", "{D}/kelmora.ini"},
                .out = "/n/a.txt\n/n/b.txt\n"},
        CliCase{.name = "registry_of_a_missing_file", .arguments = {"registry", "{D}/none.ini"}},
        CliCase{.name = "register",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c.txt"},
                .files = {{"kelmora.ini", kIni + "4=/n/c.txt\r\n"}}},
        CliCase{.name = "register_creates_the_file",
                .arguments = {"register", "{D}/new.ini", "/n/c.txt"},
                .files = {{"new.ini", "[文件]\r\n1=/n/c.txt\r\n"}}},
        CliCase{.name = "register_a_registered_path",
                .arguments = {"register", "{D}/kelmora.ini", "/n/b.txt"},
                .status = 1,
                .errHas = "already registered: /n/b.txt",
                .files = {kIniUnchanged}},
        CliCase{.name = "register_a_line_break",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c\n.txt"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "register_on_a_full_disk_fails",
                .arguments = {"register", "{D}/kelmora.ini", "/n/c.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{
            .name = "unregister",
            .arguments = {"unregister", "{D}/kelmora.ini", "/n/a.txt"},
            .files = {{"kelmora.ini", "[配置]\r\n当前文件=/n/work.txt\r\n[文件]\r\n1=空\r\n2=空\r\n"
                                      "3=/n/b.txt\r\n"}}},
        CliCase{.name = "unregister_a_path_not_registered",
                .arguments = {"unregister", "{D}/kelmora.ini", "/n/c.txt"},
                .files = {kIniUnchanged}},
        CliCase{.name = "unregister_on_a_full_disk_fails",
                .arguments = {"unregister", "{D}/kelmora.ini", "/n/a.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full},
        CliCase{.name = "reregister",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/b.txt", "/n/B.txt"},
                .files = {{"kelmora.ini",
                           "[配置]\r\n当前文件=/n/work.txt\r\n[文件]\r\n1=/n/a.txt\r\n2=空\r\n"
                           "3=/n/B.txt\r\n"}}},
        CliCase{.name = "reregister_a_path_not_registered",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/c.txt", "/n/d.txt"},
                .status = 1,
                .errHas = "not registered: /n/c.txt",
                .files = {kIniUnchanged}},
        CliCase{.name = "reregister_to_a_line_break",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", "x\ny"},
                .status = 1,
                .errHas = "refused",
                .files = {kIniUnchanged}},
        CliCase{.name = "reregister_on_a_full_disk_fails",
                .arguments = {"reregister", "{D}/kelmora.ini", "/n/a.txt", "/n/z.txt"},
                .status = 3,
                .errHas = "cannot write: {D}/kelmora.ini",
                .files = {kIniUnchanged},
                .disk = Disk::Full}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Usage, QuorvelNotes,
    ::testing::Values(
        CliCase{.name = "no_command", .arguments = {}, .status = 2, .errHas = "Usage:"},
        CliCase{.name = "unknown_command",
                .arguments = {"list", "{D}/doc.txt"},
                .status = 2,
                .errHas = "unknown command: list"},
        CliCase{.name = "too_few_arguments",
                .arguments = {"read", "{D}/doc.txt"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "too_many_arguments",
                .arguments = {"labels", "{D}/doc.txt", "a"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "manual_without_a_document",
                .arguments = {"backup", "--manual"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "manual_where_not_taken",
                .arguments = {"cat", "--manual", "{D}/doc.txt"},
                .status = 2,
                .errHas = "Usage:"},
        CliCase{.name = "set_without_a_value",
                .arguments = {"set", "{D}/kelmora.ini", "配置", "k"},
                .status = 2,
                .errHas = "Usage:",
                .files = {kIniUnchanged}},
        CliCase{.name = "save_with_a_missing_label_argument",
                .arguments = {"save", "{D}/doc.txt"},
                .input = "text",
                .status = 2,
                .errHas = "Usage:",
                .files = {kDocUnchanged}}),
    CaseName);

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

} // namespace
} // namespace quorvel::testing
