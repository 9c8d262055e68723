// Start-up on the real main window with real files: which document becomes current, what the
// settings file brings back, and what is written.
#include "MainWindowFixture.h"
#include "store/Document.h"
#include "store/FileIo.h"
#include "support/CaseName.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <optional>
#include <utility>

namespace quorvel::app::testing {
namespace {

using quorvel::testing::CaseName;

constexpr std::string_view kTwoLabels = "[#x]\r\none\r\n[#y]\r\ntwo";

struct StartupCase {
    const char* name;
    std::optional<std::string> settings; // the file's text; none: there is no settings file
    std::vector<std::pair<std::string, std::string>> documents; // name, bytes
    std::vector<std::string> arguments;
    // What the window shows and the files say afterwards ("{dir}" is the directory).
    std::string caption;
    std::vector<std::string> tree;
    std::string editText;
    bool autoSaveChecked;
    bool settingsFileExists;
    std::string currentDocument;
};

const StartupCase kStartupCases[] = {
    // A first run saves what is typed: no settings file counts like a missing 自动保存.
    {"NoSettingsFileAndNoArgument",
     std::nullopt,
     {{"a.txt", "text"}},
     {},
     "Quorvel - ",
     {},
     "",
     true,
     false,
     ""},
    {"EmptyRegistryShowsTheWholeCurrentDocument",
     "[配置]\r\n当前文件={dir}/a.txt\r\n",
     {{"a.txt", std::string(kTwoLabels)}},
     {},
     "Quorvel - ",
     {},
     std::string(kTwoLabels),
     true,
     true,
     "{dir}/a.txt"},
    {"EmptyRegistryAndMissingCurrentDocumentShowNothing",
     "[配置]\r\n当前文件={dir}/gone.txt\r\n",
     {},
     {},
     "Quorvel - ",
     {},
     "",
     true,
     true,
     "{dir}/gone.txt"},
    {"RegistrySkipsRemovedEntriesAndStopsAtTheGap",
     "[配置]\r\n当前文件={dir}/a.txt\r\n当前标签=y\r\n"
     "[文件]\r\n1={dir}/a.txt\r\n2=空\r\n3={dir}/b.txt\r\n5={dir}/c.txt\r\n",
     {{"a.txt", std::string(kTwoLabels)}, {"b.txt", "[#z]\r\nthree"}, {"c.txt", "[#w]\r\nfour"}},
     {},
     "Quorvel - {dir}/a.txt",
     {"a", "  x", "  y", "b", "  z"},
     "two",
     true,
     true,
     "{dir}/a.txt"},
    {"OneDocumentWithoutLabelsShowsTheWholeFile",
     "[配置]\r\n当前文件={dir}/a.txt\r\n[文件]\r\n1={dir}/a.txt\r\n",
     {{"a.txt", "plain notes\r\n"}},
     {},
     "Quorvel - ",
     {"a"},
     "plain notes\r\n",
     true,
     true,
     "{dir}/a.txt"},
    {"TwoItemsShowTheRestoredLabel",
     "[配置]\r\n当前文件={dir}/a.txt\r\n当前标签=x\r\n[文件]\r\n1={dir}/a.txt\r\n",
     {{"a.txt", "[#x]\r\none"}},
     {},
     "Quorvel - {dir}/a.txt",
     {"a", "  x"},
     "one",
     true,
     true,
     "{dir}/a.txt"},
    {"TwoItemsWithoutSavedLabelLeaveTheBoxEmpty",
     "[配置]\r\n当前文件={dir}/a.txt\r\n[文件]\r\n1={dir}/a.txt\r\n",
     {{"a.txt", "[#x]\r\none"}},
     {},
     "Quorvel - ",
     {"a", "  x"},
     "",
     true,
     true,
     "{dir}/a.txt"},
    {"AutoSaveTrueChecks",
     "[配置]\r\n自动保存=真\r\n",
     {},
     {},
     "Quorvel - ",
     {},
     "",
     true,
     true,
     ""},
    {"AutoSaveFalseLeavesUnchecked",
     "[配置]\r\n自动保存=假\r\n",
     {},
     {},
     "Quorvel - ",
     {},
     "",
     false,
     true,
     ""},
    {"AutoSaveOtherTextLeavesUnchecked",
     "[配置]\r\n自动保存=真的\r\n",
     {},
     {},
     "Quorvel - ",
     {},
     "",
     false,
     true,
     ""},
    // The argument's write creates the settings file, so the rest of the start-up finds it.
    {"RelativeArgumentBecomesAbsoluteAndIsRecorded",
     std::nullopt,
     {{"notes/a.txt", "from the argument"}},
     {"notes/a.txt"},
     "Quorvel - {dir}/notes/a.txt",
     {"a"},
     "from the argument",
     true,
     true,
     "{dir}/notes/a.txt"},
    {"OnlyTheFirstOfTwoArgumentsCounts",
     std::nullopt,
     {{"a.txt", "first"}, {"b.txt", "second"}},
     {"{dir}/a.txt", "{dir}/b.txt"},
     "Quorvel - {dir}/a.txt",
     {"a"},
     "first",
     true,
     true,
     "{dir}/a.txt"},
    {"ArgumentWinsOverTheRecordedDocument",
     "[配置]\r\n当前文件={dir}/b.txt\r\n",
     {{"a.txt", "first"}, {"b.txt", "second"}},
     {"./a.txt"},
     "Quorvel - {dir}/a.txt",
     {"a"},
     "first",
     true,
     true,
     "{dir}/a.txt"},
    // A file opened from a file manager arrives this way: it joins the tree as 打开 adds one.
    {"UnregisteredArgumentJoinsTheTree",
     "[配置]\r\n当前文件={dir}/b.txt\r\n[文件]\r\n1={dir}/b.txt\r\n",
     {{"a.txt", std::string(kTwoLabels)}, {"b.txt", "[#z]\r\nthree"}},
     {"{dir}/a.txt"},
     "Quorvel - {dir}/a.txt",
     {"b", "  z", "a", "  x", "  y"},
     "one",
     true,
     true,
     "{dir}/a.txt"},
    {"RegisteredArgumentIsNotAddedTwice",
     "[配置]\r\n当前文件={dir}/b.txt\r\n[文件]\r\n1={dir}/a.txt\r\n",
     {{"a.txt", std::string(kTwoLabels)}},
     {"{dir}/a.txt"},
     "Quorvel - ",
     {"a", "  x", "  y"},
     "",
     true,
     true,
     "{dir}/a.txt"},
    {"MissingArgumentFileIsStillRecorded",
     std::nullopt,
     {},
     {"{dir}/missing.txt"},
     "Quorvel - ",
     {},
     "",
     true,
     true,
     "{dir}/missing.txt"},
};

class StartupTest : public MainWindowTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupTest, BringsBackTheSavedState) {
    const StartupCase& c = GetParam();
    for (const auto& [name, bytes] : c.documents) {
        WriteFile(name, bytes);
    }
    if (c.settings) {
        WriteSettings(*c.settings);
    }

    Start(c.arguments);

    EXPECT_EQ(Window().windowTitle().toStdString(), InDir(c.caption, Dir()));
    std::vector<Text> expectedTree;
    for (const std::string& node : c.tree) {
        expectedTree.push_back(InDir(node, Dir()));
    }
    EXPECT_EQ(TreeTexts(), expectedTree);
    EXPECT_EQ(Window().editBox().ReadText(), c.editText);
    EXPECT_EQ(Window().action(CommandId::ToggleAutoSave)->isChecked(), c.autoSaveChecked);
    EXPECT_EQ(store::FileExists(SettingsPath()), c.settingsFileExists);
    const std::string current = InDir(c.currentDocument, Dir());
    EXPECT_EQ(Window().workspace().CurrentDocument(), current);
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), current);
    // Nothing is shown before the first label is, and the clock waits for its first tick.
    EXPECT_EQ(Window().statusBar().ReadPane(2), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupTest, ::testing::ValuesIn(kStartupCases), CaseName());

using StartupStateTest = MainWindowTest;

TEST_F(StartupStateTest, WindowHasItsDesignedPlaceSizeAndControls) {
    Start();
    EXPECT_EQ(Window().size(), QSize(680, 650));
    EXPECT_EQ(Window().pos(), QPoint(50, 50));
    // The controls are found by their form names.
    for (const char* name : {"工具条1", "分隔条1", "树型框1", "状态条1", "时钟1"}) {
        EXPECT_NE(Window().findChild<QObject*>(QString::fromUtf8(name)), nullptr) << name;
    }
    EXPECT_EQ(Window().statusBar().ReadPane(0), "");
    const Text homepage = Window().statusBar().ReadPane(1);
    EXPECT_TRUE(homepage.starts_with("主页:file:///")) << homepage;
    EXPECT_TRUE(homepage.ends_with("/GUIDE.md")) << homepage;
}

// A FontRecord is applied to its control only when it has all eight fields.
struct FontCase {
    const char* name;
    std::string editRecord;
    std::string treeRecord;
    bool editApplied;
    bool treeApplied;
};

const FontCase kFontCases[] = {
    {"BothApplied", "真|假|假|真|Quorvel Test Face|12|255|16777215",
     "假|真|真|假|Quorvel Tree Face|10|65280|0", true, true},
    {"SevenFieldsAreIgnored", "真|假|假|真|Quorvel Test Face|12|255|",
     "假|真|真|假|Quorvel Tree Face|10|65280|0", false, true},
    {"TenFieldsApplyTheFirstEight", "真|假|假|真|Quorvel Test Face|12|255|16777215|x|y", "", true,
     false},
};

class FontRecordStartupTest : public MainWindowTest,
                              public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontRecordStartupTest, AppliesUsableRecordsToTheControls) {
    const FontCase& c = GetParam();
    WriteSettings("[格式]\r\n字体=" + c.editRecord + "\r\n[格式1]\r\n字体=" + c.treeRecord +
                  "\r\n");

    Start();

    const QWidget& edit = *Window().editBox().widget();
    if (c.editApplied) {
        EXPECT_TRUE(edit.font().bold());
        EXPECT_FALSE(edit.font().italic());
        EXPECT_TRUE(edit.font().underline());
        EXPECT_EQ(edit.font().family(), QStringLiteral("Quorvel Test Face"));
        EXPECT_EQ(edit.font().pointSize(), 12);
        EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 255, 255));
    } else {
        EXPECT_NE(edit.font().family(), QStringLiteral("Quorvel Test Face"));
        EXPECT_FALSE(edit.font().bold());
    }
    const QWidget& tree = *Window().tree().widget();
    if (c.treeApplied) {
        EXPECT_TRUE(tree.font().italic());
        EXPECT_TRUE(tree.font().strikeOut());
        EXPECT_FALSE(tree.font().bold());
        EXPECT_EQ(tree.font().family(), QStringLiteral("Quorvel Tree Face"));
        EXPECT_EQ(tree.font().pointSize(), 10);
        EXPECT_EQ(tree.palette().color(QPalette::Text), QColor(0, 255, 0));
        EXPECT_EQ(tree.palette().color(QPalette::Base), QColor(0, 0, 0));
    } else {
        EXPECT_NE(tree.font().family(), QStringLiteral("Quorvel Tree Face"));
        EXPECT_FALSE(tree.font().italic());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FontRecordStartupTest, ::testing::ValuesIn(kFontCases), CaseName());

// Closing runs SaveOnClose: the pending edit is saved, and the current label is recorded only
// when there is one.
struct CloseCase {
    const char* name;
    Text labelBeforeClose;
    bool editPending;
    Text recordedLabel;
    Text sectionX;
};

const CloseCase kCloseCases[] = {
    {"CurrentLabelIsRecorded", "y", false, "y", "one"},
    {"EmptyLabelKeepsTheRecordedOne", "", false, "x", "one"},
    {"PendingEditIsSavedIntoItsSection", "x", true, "x", "changed"},
};

class CloseTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, SavesOnClose) {
    const CloseCase& c = GetParam();
    const std::string document = WriteFile("a.txt", kTwoLabels);
    WriteSettings("[配置]\r\n当前文件={dir}/a.txt\r\n当前标签=x\r\n[文件]\r\n1={dir}/a.txt\r\n");
    Start();
    ShowActive();
    ASSERT_EQ(Window().workspace().CurrentLabel(), "x");

    if (c.editPending) {
        Window().editBox().WriteText("changed");
        Window().workspace().MarkEdited(); // as if typed into the box
    }
    Window().workspace().SetCurrentLabel(c.labelBeforeClose);
    Window().close();

    EXPECT_EQ(Setting(store::kCurrentLabelSetting), c.recordedLabel);
    EXPECT_EQ(store::ReadSection(document, "x").text, c.sectionX);
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseTest, ::testing::ValuesIn(kCloseCases), CaseName());

using FirstActivationTest = MainWindowTest;

TEST_F(FirstActivationTest, SeedsTheHistoryOnceWithWhatStartUpShowed) {
    WriteFile("a.txt", "loaded at start");
    WriteSettings("[配置]\r\n当前文件={dir}/a.txt\r\n");
    Start();
    EXPECT_EQ(state_->history.Position(), 0); // not before the window is shown
    EXPECT_FALSE(state_->history.IsRecording());

    ShowActive();
    EXPECT_EQ(state_->history.Count(), 1);
    EXPECT_EQ(state_->history.Position(), 1);
    EXPECT_TRUE(state_->history.IsRecording());
    EXPECT_EQ(state_->history.Entry(1).text, "loaded at start");

    Window().editBox().WriteText("typed later");
    for (int i = 0; i < 2; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&Window(), &activate);
    }
    EXPECT_EQ(state_->history.Count(), 2);
    EXPECT_EQ(state_->history.Position(), 2);
    EXPECT_EQ(state_->history.Entry(1).text, "loaded at start");
}

TEST_F(FirstActivationTest, UndoAndRedoItemsStepThroughTheHistory) {
    Start();
    ShowActive();
    Window().editBox().WriteText("a");
    Window().editBox().WriteText("ab");

    Window().action(CommandId::UndoEdit)->trigger();
    EXPECT_EQ(Window().editBox().ReadText(), "a");
    Window().action(CommandId::UndoEdit)->trigger();
    EXPECT_EQ(Window().editBox().ReadText(), "");
    Window().action(CommandId::RedoEdit)->trigger();
    EXPECT_EQ(Window().editBox().ReadText(), "a");
    EXPECT_EQ(state_->history.Count(), 3); // putting entries back records nothing
}

using AutoSaveItemTest = MainWindowTest;

TEST_F(AutoSaveItemTest, ItemTogglesTheSwitchAndFollowsTheWorkspace) {
    WriteSettings("[配置]\r\n自动保存=真\r\n");
    Start();
    QAction* item = Window().action(CommandId::ToggleAutoSave);
    ASSERT_TRUE(item->isChecked());

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(Window().workspace().IsAutoSaveOn());
    EXPECT_EQ(Setting(store::kAutoSaveSetting), "假");

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(Setting(store::kAutoSaveSetting), "真");

    // A change made by the workspace itself shows on the item.
    Window().workspace().ToggleAutoSave();
    EXPECT_FALSE(item->isChecked());
}

TEST_F(StartupStateTest, CaptionShowsTheDocumentBytesDecoded) {
    Start();
    emit Window().workspace().CaptionChanged("Quorvel - /笔记/a.txt");
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Quorvel - /笔记/a.txt"));
}

} // namespace
} // namespace quorvel::app::testing
