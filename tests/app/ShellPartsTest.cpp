// The small pure parts of the shell: the document argument, the display check, the guide's URL.
#include "app/Arguments.h"
#include "app/Display.h"
#include "app/Homepage.h"
#include "support/TempDir.h"
#include "ui/ByteCodec.h"

#include <QUrl>
#include <gtest/gtest.h>
#include <optional>

namespace quorvel::app {
namespace {

struct ArgumentCase {
    std::vector<std::string> arguments;
    std::string workingDirectory;
    std::optional<Text> document;
};

const ArgumentCase kArgumentCases[] = {
    {{}, "/work", std::nullopt},
    {{"/notes/a.txt"}, "/work", "/notes/a.txt"},
    {{"a.txt"}, "/work", "/work/a.txt"},
    {{"a.txt"}, "/work/", "/work/a.txt"},
    {{"a.txt"}, "/", "/a.txt"},
    {{"./a.txt"}, "/work", "/work/a.txt"},
    {{"sub/../a b.txt"}, "/work", "/work/sub/../a b.txt"},
    {{"first.txt", "second.txt"}, "/work", "/work/first.txt"},
    {{"", "second.txt"}, "/work", ""},
    {{"\xB1\xCA\xBC\xC7.txt"}, "/w\xFF", "/w\xFF/\xB1\xCA\xBC\xC7.txt"}, // bytes stay bytes
};

TEST(DocumentArgumentTest, FirstArgumentMadeAbsolute) {
    for (const ArgumentCase& c : kArgumentCases) {
        EXPECT_EQ(DocumentArgument(c.arguments, c.workingDirectory), c.document)
            << (c.arguments.empty() ? "(none)" : c.arguments.front());
    }
}

TEST(HasDisplayTest, AnyDisplayOrChosenPlatform) {
    EXPECT_FALSE(HasDisplay(nullptr, nullptr, nullptr));
    EXPECT_FALSE(HasDisplay("", "", ""));
    EXPECT_TRUE(HasDisplay(":0", nullptr, nullptr));
    EXPECT_TRUE(HasDisplay(nullptr, "wayland-0", nullptr));
    EXPECT_TRUE(HasDisplay(nullptr, nullptr, "offscreen"));
    EXPECT_NE(kNoDisplayMessage.find("xvfb-run"), std::string_view::npos);
}

TEST(HomepageTest, PrefersTheInstalledGuide) {
    const quorvel::testing::TempDir dir;
    const std::string installed = dir.File("installed.md");
    const std::string source = dir.File("source.md");
    EXPECT_EQ(ChooseGuidePath(installed, source), source);
    quorvel::testing::WriteBytes(installed, "# guide");
    EXPECT_EQ(ChooseGuidePath(installed, source), installed);
}

TEST(HomepageTest, FileUrlNamesThePathAgain) {
    for (const std::string path : {"/usr/share/doc/quorvel/GUIDE.md", "/home/a b/笔记/GUIDE.md"}) {
        const Text url = FileUrl(path);
        EXPECT_TRUE(url.starts_with("file:///")) << url;
        EXPECT_EQ(QUrl(ui::DecodeForDisplay(url)).toLocalFile().toStdString(), path);
    }
}

} // namespace
} // namespace quorvel::app
