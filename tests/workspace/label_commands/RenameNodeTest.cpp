#include "support/CaseName.h"
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <filesystem>
#include <unistd.h>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

struct RenameLabelCase {
    const char* name;
    int select;
};

void PrintTo(const RenameLabelCase& c, std::ostream* os) {
    *os << c.name;
}

// alpha.txt holds a, b and a second a. Nodes: 0 alpha, 1 a, 2 b, 3 a; 4 beta, 5 x.
const RenameLabelCase kRenameLabelCases[] = {
    {"FirstOfTwoEqualLabels", 1},
    {"SecondOfTwoEqualLabels", 3},
};

class RenameLabelTest : public LabelCommandsTest,
                        public ::testing::WithParamInterface<RenameLabelCase> {};

TEST_P(RenameLabelTest, ChangesTheFirstHeaderAndOnlyTheSelectedNode) {
    const RenameLabelCase& c = GetParam();
    WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}, {"a", "again"}});
    Start(c.select);
    std::vector<Text> tree = TreeDump();
    tree.at(static_cast<std::size_t>(c.select)) = "2|z|1|12";
    dialogs_.ExpectText("z");

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"ask|输入新标签名称：|a"});
    EXPECT_EQ(Alpha(), DocumentBytes({{"z", "one"}, {"b", "two"}, {"a", "again"}}));
    EXPECT_EQ(TreeDump(), tree);
    EXPECT_EQ(workspace_.CurrentLabel(), "z");
    EXPECT_EQ(editBox_.ReadText(), "one");
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameLabelTest, ::testing::ValuesIn(kRenameLabelCases),
                         CaseName());

TEST_F(LabelCommandsTest, RenameLabelWhoseHeaderIsGoneSaysSoAndKeepsTheNode) {
    Start(2);
    const Text outside = DocumentBytes({{"a", "one"}});
    quorvel::testing::WriteBytes(alpha_, outside);
    const std::vector<Text> before = Snapshot();
    dialogs_.ExpectText("z");
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(),
              (std::vector<Text>{"ask|输入新标签名称：|b", "message|重命名失败！|信息：|0"}));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LabelCommandsTest, RenameLabelKeepsACurrentLabelOfAnotherNode) {
    // a stays selected while SaveLabel makes a new label n current, which is then edited.
    Start(1);
    commands_.ShowWholeDocument();
    EmptyEditBox();
    dialogs_.ExpectText("n");
    commands_.SaveLabel();
    TypeIntoEditBox("new");
    ASSERT_EQ(workspace_.CurrentLabel(), "n");
    dialogs_.ExpectText("z");

    commands_.RenameNode();

    EXPECT_EQ(Alpha(), DocumentBytes({{"z", "one"}, {"b", "two"}}));
    EXPECT_EQ(workspace_.CurrentLabel(), "n");
    // The edit goes into n, not into the renamed section.
    tree_.Select(2);
    EXPECT_EQ(Alpha(), DocumentBytes({{"z", "one"}, {"b", "two"}}) + "\r\n[#n]\r\nnew\r\n");
}

class RenameDocumentTest : public LabelCommandsTest, public ::testing::WithParamInterface<Text> {};

TEST_P(RenameDocumentTest, FileNodeRegistryListCurrentDocumentAndCaptionFollow) {
    const Text& name = GetParam();
    Start(0);
    captions_.clear();
    const Text renamed = PathOf(name + ".txt");
    dialogs_.ExpectText(name);

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"ask|输入新文件名：|alpha"});
    EXPECT_FALSE(std::filesystem::exists(alpha_));
    EXPECT_EQ(quorvel::testing::ReadBytes(renamed), alphaBytes_);
    EXPECT_EQ(TreeDump().at(0), "1|" + name + "|1|2");
    EXPECT_EQ(store::EnumerateRegistry(settings_), (std::vector<Text>{renamed, beta_}));
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{renamed, beta_}));
    EXPECT_EQ(workspace_.CurrentDocument(), renamed);
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), renamed);
    EXPECT_EQ(captions_, std::vector<Text>{kTitle + renamed});
    EXPECT_EQ(workspace_.CurrentLabel(), "");

    // Its labels load from the new file, and edits are saved there.
    tree_.Select(2);
    EXPECT_EQ(editBox_.ReadText(), "two");
    TypeIntoEditBox("Y");
    tree_.Select(1);
    EXPECT_EQ(quorvel::testing::ReadBytes(renamed), DocumentBytes({{"a", "one"}, {"b", "Ytwo"}}));
    EXPECT_FALSE(std::filesystem::exists(alpha_));
}

// An empty name is taken as it is: the file becomes ".txt".
INSTANTIATE_TEST_SUITE_P(Names, RenameDocumentTest, ::testing::Values("plan", "", "v1.2"),
                         [](const auto& caseInfo) {
                             return quorvel::testing::SafeName(caseInfo.param);
                         });

// New names that cannot be taken: a file or link is there already, or the name is not a path.
struct TakenCase {
    const char* name;
    Text entered;
    bool danglingLink; // dangling.txt is a symbolic link to a file that does not exist
};

void PrintTo(const TakenCase& c, std::ostream* os) {
    *os << c.name;
}

const TakenCase kTakenCases[] = {
    {"AnotherDocument", "beta", false},
    {"ItsOwnName", "alpha", false},
    {"DanglingLink", "dangling", true},
    // The bytes after a zero byte would be cut off the path: "a" would be taken instead.
    {"ZeroByte", Text("a\0b", 3), false},
};

class RenameToTakenNameTest : public LabelCommandsTest,
                              public ::testing::WithParamInterface<TakenCase> {};

TEST_P(RenameToTakenNameTest, ChangesNothingAndSaysNothing) {
    const TakenCase& c = GetParam();
    if (c.danglingLink) {
        ASSERT_EQ(::symlink(PathOf("nowhere.txt").c_str(), PathOf("dangling.txt").c_str()), 0);
    }
    Start(0);
    const std::vector<Text> before = Snapshot();
    const std::vector<Text> registry = store::EnumerateRegistry(settings_);
    dialogs_.ExpectText(c.entered);

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(), std::vector<Text>{"ask|输入新文件名：|alpha"});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(store::EnumerateRegistry(settings_), registry);
    EXPECT_EQ(workspace_.DocumentList(), (std::vector<Text>{alpha_, beta_}));
    if (c.danglingLink) {
        EXPECT_TRUE(std::filesystem::is_symlink(PathOf("dangling.txt")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameToTakenNameTest, ::testing::ValuesIn(kTakenCases),
                         CaseName());

struct RefusedCase {
    const char* name;
    Text entered;
    Text message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

const Text kLineBreakMessage = "message|文件名不能包含换行符|错误：|48";
const Text kSlashMessage = "message|文件名不能包含“/”|错误：|48";

const RefusedCase kRefusedCases[] = {
    {"LineFeed", "a\nb", kLineBreakMessage},
    {"CarriageReturn", "a\rb", kLineBreakMessage},
    {"Slash", "sub/plan", kSlashMessage},
    {"ParentFolder", "../plan", kSlashMessage},
    {"SlashAndLineFeed", "a/\n", kLineBreakMessage},
};

class RenameRefusedTest : public LabelCommandsTest,
                          public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RenameRefusedTest, SaysWhyAndChangesNothing) {
    const RefusedCase& c = GetParam();
    std::filesystem::create_directory(PathOf("sub"));
    Start(0);
    const std::vector<Text> before = Snapshot();
    dialogs_.ExpectText(c.entered);
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.RenameNode();

    EXPECT_EQ(DialogLog(), (std::vector<Text>{"ask|输入新文件名：|alpha", c.message}));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("sub")));
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameRefusedTest, ::testing::ValuesIn(kRefusedCases), CaseName());

} // namespace
} // namespace quorvel::workspace::testing
