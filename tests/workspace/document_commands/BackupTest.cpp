// ManualBackup and RestoreBackup.
#include "store/Backup.h"

#include "support/CaseName.h"
#include "workspace/document_commands/DocumentCommandsFixture.h"

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;
using BackupCommandsTest = DocumentCommandsTest;

TEST_F(BackupCommandsTest, ManualBackupCopiesTheDiskFileAndReplacesTheLastBackup) {
    StartInAlpha();
    TypeIntoEditBox("X");
    const Text backup = PathOf("手备_alpha.txt");
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.ManualBackup();
    EXPECT_EQ(ReadBytes(backup), alphaBytes_); // the pending edit is not saved first
    WriteBytes(alpha_, "changed on disk");
    commands_.ManualBackup();

    EXPECT_EQ(ReadBytes(backup), "changed on disk");
    EXPECT_EQ(ReadBytes(alpha_), "changed on disk");
    EXPECT_TRUE(Edited());
    ASSERT_EQ(Messages().size(), 2u);
    for (const ShownDialog& shown : Messages()) {
        EXPECT_EQ(shown.text, "备份成功");
        EXPECT_EQ(shown.title, "信息：");
        EXPECT_EQ(shown.style, ui::MessageStyle::Information);
    }
}

struct RestoreCase {
    const char* name;
    std::string_view prefix;
    const char* backupName;
    bool autoSave;
    Text labelAfter; // a's text in the file and in the box afterwards
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

// With the switch on, the pending edit of a goes into the restored file before a is shown again;
// with it off, the box shows a from the backup and the edit is lost.
const RestoreCase kRestoreCases[] = {
    {"StartupBackupWithAutoSaveOn", store::kStartupBackupPrefix, "备_alpha.txt", true, "Xone"},
    {"ManualBackupWithAutoSaveOff", store::kManualBackupPrefix, "手备_alpha.txt", false, "old"},
};

class RestoreBackupTest : public DocumentCommandsTest,
                          public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreBackupTest, ReloadsTheSelectedLabelFromTheRestoredFile) {
    const RestoreCase& c = GetParam();
    StartInAlpha();
    const Text backupBytes = DocumentBytes({{"a", "old"}, {"b", "two"}, {"c", "three"}});
    WriteBytes(PathOf(c.backupName), backupBytes);
    workspace_.SetAutoSaveSwitch(c.autoSave);
    TypeIntoEditBox("X");
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.RestoreBackup(c.prefix);

    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "还原成功");
    EXPECT_EQ(Messages()[0].title, "信息：");
    EXPECT_EQ(Messages()[0].style, ui::MessageStyle::Information);
    EXPECT_EQ(ReadBytes(alpha_),
              DocumentBytes({{"a", c.labelAfter}, {"b", "two"}, {"c", "three"}}));
    EXPECT_EQ(editBox_.ReadText(), c.labelAfter);
    EXPECT_EQ(workspace_.CurrentLabel(), "a");
    EXPECT_EQ(tree_.Selection(), 1);
    EXPECT_EQ(ReadBytes(PathOf(c.backupName)), backupBytes); // kept for another restore
}

INSTANTIATE_TEST_SUITE_P(DocumentCommands, RestoreBackupTest, ::testing::ValuesIn(kRestoreCases),
                         CaseName());

TEST_F(BackupCommandsTest, RestoreWithNothingSelectedRestoresTheCurrentDocumentOnly) {
    Register({alpha_, beta_});
    workspace_.SetCurrentDocument(alpha_);
    WriteSettingValue(store::kCurrentLabelSetting, "not a label");
    workspace_.BuildTree();
    ASSERT_EQ(tree_.Selection(), ui::kNoNode);
    TypeIntoEditBox("X");
    const Text backupBytes = DocumentBytes({{"a", "old"}});
    WriteBytes(PathOf("手备_alpha.txt"), backupBytes);
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.RestoreBackup(store::kManualBackupPrefix);

    EXPECT_EQ(ReadBytes(alpha_), backupBytes);
    EXPECT_EQ(editBox_.ReadText(), "X");
    EXPECT_TRUE(Edited());
    EXPECT_EQ(ReadBytes(beta_), betaBytes_);
}

TEST_F(BackupCommandsTest, RestoreReplacesTheFileOfTheNodeItReloads) {
    StartInAlpha();
    TypeIntoEditBox("X");
    workspace_.SelectGuarded(4); // beta's x selected while alpha's a is current and edited
    const Text backupBytes = DocumentBytes({{"x", "restored"}});
    WriteBytes(PathOf("手备_beta.txt"), backupBytes);
    dialogs_.ExpectMessage(ui::MessageAnswer::Ok);

    commands_.RestoreBackup(store::kManualBackupPrefix);

    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "还原成功");
    EXPECT_EQ(ReadBytes(beta_), backupBytes);
    // The edit of a went into alpha, its own document, before x was shown.
    EXPECT_EQ(ReadBytes(alpha_), DocumentBytes({{"a", "Xone"}, {"b", "two"}}));
    EXPECT_EQ(editBox_.ReadText(), "restored");
    EXPECT_EQ(workspace_.CurrentDocument(), beta_);
    EXPECT_EQ(workspace_.CurrentLabel(), "x");
}

} // namespace
} // namespace quorvel::workspace::testing
