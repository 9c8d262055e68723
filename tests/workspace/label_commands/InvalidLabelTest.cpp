// Every command that takes a label refuses the labels the document format cannot hold, with one
// message and nothing changed.
#include "workspace/label_commands/LabelCommandsFixture.h"

#include <string>

namespace quorvel::workspace::testing {
namespace {

using namespace std::string_literals;

struct LabelCommandCase {
    const char* name;
    int select;
    Command command;
    bool choosesFile; // a save dialog comes before the name prompt
    Text prompt;      // the name prompt as logged
};

struct BadLabel {
    const char* name;
    Text label;
};

void PrintTo(const LabelCommandCase& c, std::ostream* os) {
    *os << c.name;
}

void PrintTo(const BadLabel& c, std::ostream* os) {
    *os << c.name;
}

const LabelCommandCase kCommands[] = {
    {"NewLabel", 1, &LabelCommands::NewLabel, false, "ask|输入新标签：|"},
    {"SaveLabelAskingTheName", 0, &LabelCommands::SaveLabel, false, "ask|输入此信息的标签名称：|"},
    {"SaveLabelToDocument", 1, &LabelCommands::SaveLabelToDocument, true,
     "ask|输入此信息标签名称：|a"},
    {"RenameLabelNode", 1, &LabelCommands::RenameNode, false, "ask|输入新标签名称：|a"},
};

const BadLabel kBadLabels[] = {
    {"LineFeed", "a\nb"},
    {"CarriageReturn", "a\r"},
    {"ZeroByte", "a\0b"s},
    {"EndOfFileByte", "bad\x1a"},
};

const Text kInvalidLabelMessage = "message|标签不能包含换行符、零字节或 0x1A|错误：|48";

class InvalidLabelTest
    : public LabelCommandsTest,
      public ::testing::WithParamInterface<std::tuple<LabelCommandCase, BadLabel>> {};

TEST_P(InvalidLabelTest, SaysWhyAndChangesNothing) {
    const auto& [command, bad] = GetParam();
    Start(command.select);
    const Text chosen = PathOf("chosen.txt");
    const std::vector<Text> before = Snapshot();
    std::vector<Text> log;
    if (command.choosesFile) {
        dialogs_.ExpectSaveFile(chosen);
        log.push_back("save|另存标签|" + Folder());
    }
    dialogs_.ExpectText(bad.label);
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);
    log.push_back(command.prompt);
    log.push_back(kInvalidLabelMessage);

    (commands_.*command.command)();

    EXPECT_EQ(DialogLog(), log);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(store::FileExists(chosen));
}

// The command's name followed by the refused byte's.
template <typename Param>
std::string CommandAndLabelName(const ::testing::TestParamInfo<Param>& caseInfo) {
    return std::string(std::get<0>(caseInfo.param).name) + std::get<1>(caseInfo.param).name;
}

INSTANTIATE_TEST_SUITE_P(Cases, InvalidLabelTest,
                         ::testing::Combine(::testing::ValuesIn(kCommands),
                                            ::testing::ValuesIn(kBadLabels)),
                         CommandAndLabelName<InvalidLabelTest::ParamType>);

} // namespace
} // namespace quorvel::workspace::testing
