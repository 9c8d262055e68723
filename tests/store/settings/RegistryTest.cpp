#include "store/Settings.h"
#include "store/settings/SettingsTestSupport.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvel::store {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Entries = std::vector<Text>;

class Registry : public ::testing::Test {
protected:
    Text Key(int number) const { return settings.ReadSetting("文件", std::to_string(number)); }

    TempDir dir;
    const std::string path = dir.File("kelmora.ini");
    Settings settings{path};
};

TEST_F(Registry, WalkStopsAtTheFirstGapAndRegisteringFillsIt) {
    WriteBytes(path, "[文件]\r\n1=A\r\n2=空\r\n3=B\r\n5=C\r\n");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"A", "B"}));

    const std::string before = ReadBytes(path);
    EXPECT_EQ(RegisterDocument(settings, "A"), RegistryOutcome::AlreadyThere);
    EXPECT_EQ(RegisterDocument(settings, "B"), RegistryOutcome::AlreadyThere);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(UnregisterDocument(settings, "C"), RegistryOutcome::NotThere); // beyond the gap
    EXPECT_EQ(RenameRegisteredDocument(settings, "C", "Z"), RegistryOutcome::NotThere);
    EXPECT_EQ(ReadBytes(path), before);

    EXPECT_EQ(RegisterDocument(settings, "D"), RegistryOutcome::Done);
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=A\r\n2=空\r\n3=B\r\n5=C\r\n4=D\r\n");
    // With the gap filled, the walk goes on to the key that was beyond it.
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"A", "B", "D", "C"}));
}

TEST_F(Registry, ARemovedEntryIsNeverReused) {
    EXPECT_EQ(RegisterDocument(settings, "/n/a.txt"), RegistryOutcome::Done);
    EXPECT_EQ(RegisterDocument(settings, "/n/b.txt"), RegistryOutcome::Done);
    UnregisterDocument(settings, "/n/a.txt");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"/n/b.txt"}));
    EXPECT_EQ(RegisterDocument(settings, "/n/a.txt"), RegistryOutcome::Done);
    EXPECT_EQ(Key(1), "空");
    EXPECT_EQ(Key(3), "/n/a.txt");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"/n/b.txt", "/n/a.txt"}));
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=空\r\n2=/n/b.txt\r\n3=/n/a.txt\r\n");
}

TEST_F(Registry, OnlyTheFirstKeyHoldingThePathChanges) {
    WriteBytes(path, "[文件]\r\n1=A\r\n2=B\r\n3=A\r\n");
    EXPECT_EQ(RenameRegisteredDocument(settings, "A", "Z"), RegistryOutcome::Done);
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=Z\r\n2=B\r\n3=A\r\n");
    EXPECT_EQ(UnregisterDocument(settings, "A"), RegistryOutcome::Done);
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=Z\r\n2=B\r\n3=空\r\n");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"Z", "B"}));

    const std::string before = ReadBytes(path);
    EXPECT_EQ(UnregisterDocument(settings, "nowhere"), RegistryOutcome::NotThere);
    EXPECT_EQ(RenameRegisteredDocument(settings, "nowhere", "Y"), RegistryOutcome::NotThere);
    EXPECT_EQ(RenameRegisteredDocument(settings, "Z", "bad\npath"), RegistryOutcome::LineBreak);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(Registry, PathsCompareAsExactBytes) {
    const Text spellings[] = {"/n/Notes.txt",  "/n/notes.txt",     "/n//notes.txt",
                              " /n/notes.txt", "\"/n/notes.txt\"", "/n/notes.txt "};
    for (const Text& spelling : spellings) {
        EXPECT_EQ(RegisterDocument(settings, spelling), RegistryOutcome::Done) << spelling;
    }
    for (const Text& spelling : spellings) {
        EXPECT_EQ(RegisterDocument(settings, spelling), RegistryOutcome::AlreadyThere) << spelling;
    }
    EXPECT_EQ(EnumerateRegistry(settings), Entries(std::begin(spellings), std::end(spellings)));
}

TEST_F(Registry, APathWithALineBreakIsNeverWritten) {
    EXPECT_EQ(RegisterDocument(settings, "/n/a\nb.txt"), RegistryOutcome::LineBreak);
    EXPECT_EQ(RegisterDocument(settings, "/n/a\rb.txt"), RegistryOutcome::LineBreak);
    EXPECT_FALSE(settings.Exists());
    EXPECT_TRUE(EnumerateRegistry(settings).empty());
}

TEST_F(Registry, WalksAThousandEntries) {
    std::string content = "[文件]\r\n";
    Entries expected;
    for (int number = 1; number <= 1000; ++number) {
        expected.push_back("/notes/document " + std::to_string(number) + ".txt");
        content += std::to_string(number) + "=" + expected.back() + "\r\n";
    }
    WriteBytes(path, content);
    EXPECT_EQ(EnumerateRegistry(settings), expected);
    EXPECT_EQ(RegisterDocument(settings, "/notes/last.txt"), RegistryOutcome::Done);
    EXPECT_EQ(Key(1001), "/notes/last.txt");
}

// In code page 936 the section and the removed mark are written in its bytes.
TEST_F(Registry, UsesTheWordsOfTheActiveCodePage) {
    testing::CodePageScope gbk(CodePage::Gbk);
    EXPECT_EQ(RegisterDocument(settings, "/n/\xB1\xCA.txt"), RegistryOutcome::Done);
    EXPECT_EQ(RegisterDocument(settings, "/n/b.txt"), RegistryOutcome::Done);
    UnregisterDocument(settings, "/n/\xB1\xCA.txt");
    EXPECT_EQ(ReadBytes(path), "[\xCE\xC4\xBC\xFE]\r\n1=\xBF\xD5\r\n2=/n/b.txt\r\n");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"/n/b.txt"}));
}

TEST_F(Registry, NamedSettingsMeetTheFileInTheActiveCodePage) {
    EXPECT_EQ(settings.ReadSetting(kAutoSaveSetting, "真"), "真");
    EXPECT_EQ(settings.WriteSetting(kCurrentDocumentSetting, "/n/a.txt"),
              ProfileWriteOutcome::Written);
    EXPECT_EQ(settings.ReadSetting("配置", "当前文件"), "/n/a.txt");
    {
        testing::CodePageScope gbk(CodePage::Gbk);
        EXPECT_EQ(settings.ReadSetting(kCurrentDocumentSetting), "");
        EXPECT_EQ(settings.WriteSetting(kCurrentLabelSetting, "x"), ProfileWriteOutcome::Written);
    }
    // 配置 当前标签 in code page 936 bytes, a section of its own next to the UTF-8 one.
    EXPECT_EQ(ReadBytes(path), "[配置]\r\n当前文件=/n/a.txt\r\n"
                               "[\xC5\xE4\xD6\xC3]\r\n\xB5\xB1\xC7\xB0\xB1\xEA\xC7\xA9=x\r\n");
}

// The walk visits keys in order up to the first empty one, removed entries included, and stops
// where the visitor says.
TEST_F(Registry, WalkVisitsEveryKeyUpToTheFirstGap) {
    WriteBytes(path, "[文件]\r\n1=A\r\n2=空\r\n3=B\r\n5=C\r\n");
    std::vector<std::string> visited;
    EXPECT_EQ(WalkRegistry(settings,
                           [&](std::size_t key, const Text& value) {
                               visited.push_back(std::to_string(key) + "=" + value);
                               return WalkStep::Continue;
                           }),
              4u);
    EXPECT_EQ(visited, (Entries{"1=A", "2=空", "3=B"}));
    EXPECT_EQ(WalkRegistry(settings,
                           [](std::size_t, const Text& value) {
                               return value == "空" ? WalkStep::Stop : WalkStep::Continue;
                           }),
              2u);
}

enum class Operation { Register, Reregister };

struct RefusalCase {
    const char* name;
    Operation operation;
    Text path; // registered, or the new path of a rename of A
    RegistryOutcome outcome;
};

const RefusalCase kRefusalCases[] = {
    {"RegisterAnEmptyPath", Operation::Register, "", RegistryOutcome::EmptyPath},
    {"RegisterTheRemovedMark", Operation::Register, "空", RegistryOutcome::ReservedWord},
    {"RegisterALineFeed", Operation::Register, "/n/a\nb.txt", RegistryOutcome::LineBreak},
    {"RegisterACarriageReturn", Operation::Register, "/n/a\rb.txt", RegistryOutcome::LineBreak},
    {"RegisterAPathLongerThanAValueReadsBack", Operation::Register,
     "/" + std::string(ProfileFile::kLongestValue, 'p'), RegistryOutcome::TooLong},
    {"ReregisterToAnEmptyPath", Operation::Reregister, "", RegistryOutcome::EmptyPath},
    {"ReregisterToTheRemovedMark", Operation::Reregister, "空", RegistryOutcome::ReservedWord},
    {"ReregisterToALineFeed", Operation::Reregister, "x\ny", RegistryOutcome::LineBreak},
    {"ReregisterToAPathLongerThanAValueReadsBack", Operation::Reregister,
     std::string(ProfileFile::kLongestValue + 1, 'p'), RegistryOutcome::TooLong},
};

class RegistryRefusal : public Registry, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RegistryRefusal, SaysWhyAndWritesNothing) {
    const RefusalCase& c = GetParam();
    const std::string before = "[文件]\r\n1=A\r\n2=空\r\n3=B\r\n";
    WriteBytes(path, before);
    const RegistryOutcome outcome = c.operation == Operation::Register
                                        ? RegisterDocument(settings, c.path)
                                        : RenameRegisteredDocument(settings, "A", c.path);
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"A", "B"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistryRefusal, ::testing::ValuesIn(kRefusalCases),
                         quorvel::testing::CaseName());

// The longest path a value holds is registered once and then found again.
TEST_F(Registry, TheLongestPathThatReadsBackIsFoundAgain) {
    const Text longest = "/" + std::string(ProfileFile::kLongestValue - 1, 'p');
    EXPECT_EQ(RegisterDocument(settings, longest), RegistryOutcome::Done);
    EXPECT_EQ(RegisterDocument(settings, longest), RegistryOutcome::AlreadyThere);
    EXPECT_EQ(EnumerateRegistry(settings), Entries{longest});
}

TEST_F(Registry, TheRemovedMarkIsNeverAnEntryToRemoveOrRename) {
    WriteBytes(path, "[文件]\r\n1=空\r\n2=B\r\n");
    const std::string before = ReadBytes(path);
    EXPECT_EQ(UnregisterDocument(settings, "空"), RegistryOutcome::NotThere);
    EXPECT_EQ(RenameRegisteredDocument(settings, "空", "/n/z.txt"), RegistryOutcome::NotThere);
    EXPECT_EQ(ReadBytes(path), before);
}

} // namespace
} // namespace quorvel::store
