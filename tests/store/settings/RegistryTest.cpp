#include "store/Settings.h"
#include "store/settings/SettingsTestSupport.h"

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
    EXPECT_FALSE(RegisterDocument(settings, "A"));
    EXPECT_FALSE(RegisterDocument(settings, "B"));
    EXPECT_EQ(ReadBytes(path), before);
    UnregisterDocument(settings, "C"); // beyond the gap: not registered
    EXPECT_FALSE(RenameRegisteredDocument(settings, "C", "Z"));
    EXPECT_EQ(ReadBytes(path), before);

    EXPECT_TRUE(RegisterDocument(settings, "D"));
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=A\r\n2=空\r\n3=B\r\n5=C\r\n4=D\r\n");
    // With the gap filled, the walk goes on to the key that was beyond it.
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"A", "B", "D", "C"}));
}

TEST_F(Registry, ARemovedEntryIsNeverReused) {
    EXPECT_TRUE(RegisterDocument(settings, "/n/a.txt"));
    EXPECT_TRUE(RegisterDocument(settings, "/n/b.txt"));
    UnregisterDocument(settings, "/n/a.txt");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"/n/b.txt"}));
    EXPECT_TRUE(RegisterDocument(settings, "/n/a.txt"));
    EXPECT_EQ(Key(1), "空");
    EXPECT_EQ(Key(3), "/n/a.txt");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"/n/b.txt", "/n/a.txt"}));
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=空\r\n2=/n/b.txt\r\n3=/n/a.txt\r\n");
}

TEST_F(Registry, OnlyTheFirstKeyHoldingThePathChanges) {
    WriteBytes(path, "[文件]\r\n1=A\r\n2=B\r\n3=A\r\n");
    EXPECT_TRUE(RenameRegisteredDocument(settings, "A", "Z"));
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=Z\r\n2=B\r\n3=A\r\n");
    UnregisterDocument(settings, "A");
    EXPECT_EQ(ReadBytes(path), "[文件]\r\n1=Z\r\n2=B\r\n3=空\r\n");
    EXPECT_EQ(EnumerateRegistry(settings), (Entries{"Z", "B"}));

    const std::string before = ReadBytes(path);
    UnregisterDocument(settings, "nowhere");
    EXPECT_FALSE(RenameRegisteredDocument(settings, "nowhere", "Y"));
    EXPECT_FALSE(RenameRegisteredDocument(settings, "Z", "bad\npath"));
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(Registry, PathsCompareAsExactBytes) {
    const Text spellings[] = {"/n/Notes.txt",  "/n/notes.txt",     "/n//notes.txt",
                              " /n/notes.txt", "\"/n/notes.txt\"", "/n/notes.txt "};
    for (const Text& spelling : spellings) {
        EXPECT_TRUE(RegisterDocument(settings, spelling)) << spelling;
    }
    for (const Text& spelling : spellings) {
        EXPECT_FALSE(RegisterDocument(settings, spelling)) << spelling;
    }
    EXPECT_EQ(EnumerateRegistry(settings), Entries(std::begin(spellings), std::end(spellings)));
}

TEST_F(Registry, APathWithALineBreakIsNeverWritten) {
    EXPECT_FALSE(RegisterDocument(settings, "/n/a\nb.txt"));
    EXPECT_FALSE(RegisterDocument(settings, "/n/a\rb.txt"));
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
    EXPECT_TRUE(RegisterDocument(settings, "/notes/last.txt"));
    EXPECT_EQ(Key(1001), "/notes/last.txt");
}

// In code page 936 the section and the removed mark are written in its bytes.
TEST_F(Registry, UsesTheWordsOfTheActiveCodePage) {
    testing::CodePageScope gbk(CodePage::Gbk);
    EXPECT_TRUE(RegisterDocument(settings, "/n/\xB1\xCA.txt"));
    EXPECT_TRUE(RegisterDocument(settings, "/n/b.txt"));
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

} // namespace
} // namespace quorvel::store
