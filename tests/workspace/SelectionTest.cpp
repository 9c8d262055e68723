#include "store/Document.h"
#include "support/CaseName.h"
#include "text/Words.h"
#include "workspace/WorkspaceFixture.h"

#include <QTest>
#include <QTreeWidget>

namespace quorvel::workspace::testing {
namespace {

using quorvel::testing::CaseName;

// alpha.txt with a, b, c and beta.txt with x. Nodes: 0 alpha, 1 a, 2 b, 3 c; 4 beta, 5 x.
class SelectionTest : public WorkspaceTest {
protected:
    void SetUp() override {
        alpha_ = WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}, {"c", "three"}});
        beta_ = WriteDocument("beta.txt", {{"x", "ex"}});
        Register({alpha_, beta_});
    }
    // Start-up with alpha current and its label a restored and selected.
    void StartWithLabelA() {
        workspace_.SetCurrentDocument(alpha_);
        WriteSettingValue(store::kCurrentLabelSetting, "a");
        workspace_.BuildTree();
        ASSERT_EQ(tree_.Selection(), 1);
        captions_.clear();
    }
    Text Alpha() const { return quorvel::testing::ReadBytes(alpha_); }

    const Text alphaBytes_ = DocumentBytes({{"a", "one"}, {"b", "two"}, {"c", "three"}});
    Text alpha_;
    Text beta_;
};

TEST_F(SelectionTest, SwitchingLabelsSavesTheEditedOne) {
    workspace_.BuildTree();
    tree_.Select(1);
    EXPECT_EQ(workspace_.CurrentDocument(), alpha_);
    EXPECT_EQ(captions_, std::vector<Text>{kTitle + alpha_});
    EXPECT_EQ(editBox_.ReadText(), "one");
    EXPECT_FALSE(Edited()); // showing a label from the tree is no edit
    TypeIntoEditBox("X");
    ASSERT_TRUE(Edited());

    tree_.Select(2);

    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}, {"c", "three"}}));
    EXPECT_FALSE(Edited());
    EXPECT_EQ(workspace_.CurrentLabel(), "b");
    EXPECT_EQ(editBox_.ReadText(), "two");
    EXPECT_EQ(captions_.size(), 1u); // the same document: the caption stays
}

TEST_F(SelectionTest, MovingToAnotherDocumentSavesIntoTheOneLeft) {
    StartWithLabelA();
    TypeIntoEditBox("X");

    tree_.Select(5);

    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "Xone"}, {"b", "two"}, {"c", "three"}}));
    EXPECT_EQ(quorvel::testing::ReadBytes(beta_), DocumentBytes({{"x", "ex"}}));
    EXPECT_EQ(workspace_.CurrentDocument(), beta_);
    EXPECT_EQ(Setting(store::kCurrentDocumentSetting), beta_);
    EXPECT_EQ(captions_, std::vector<Text>{kTitle + beta_});
    EXPECT_EQ(workspace_.CurrentLabel(), "x");
    EXPECT_EQ(editBox_.ReadText(), "ex");
}

TEST_F(SelectionTest, DocumentNodeEmptiesTheLabelAndKeepsTheText) {
    StartWithLabelA();
    tree_.Select(0);
    EXPECT_EQ(workspace_.CurrentLabel(), "");
    EXPECT_EQ(editBox_.ReadText(), "one");
    TypeIntoEditBox("X");
    // No label was current: the text belongs to none, so leaving it asks. No drops it.
    dialogs_.ExpectMessage(ui::MessageAnswer::No);

    tree_.Select(2);

    EXPECT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_FALSE(Edited());
    EXPECT_EQ(editBox_.ReadText(), "two");

    tree_.Select(3); // b was loaded, not edited: nothing is written into it
    EXPECT_EQ(Alpha(), alphaBytes_);
}

TEST_F(SelectionTest, EmptiedEditBoxSavesNothingAndClearsTheFlag) {
    StartWithLabelA();
    EmptyEditBox();
    ASSERT_EQ(editBox_.ReadText(), "");
    ASSERT_TRUE(Edited());

    tree_.Select(2);

    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_FALSE(Edited());
}

TEST_F(SelectionTest, SwitchOffSavesNothingUntilItIsOnAgain) {
    StartWithLabelA();
    workspace_.SetAutoSaveSwitch(false);
    TypeIntoEditBox("X");

    tree_.Select(2);

    EXPECT_EQ(Alpha(), alphaBytes_);
    EXPECT_FALSE(Edited()); // what is on screen now is b as loaded
    EXPECT_EQ(editBox_.ReadText(), "two");

    TypeIntoEditBox("Y");
    workspace_.ToggleAutoSave();
    tree_.Select(3); // the label current when the switch came on is the one saved

    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "one"}, {"b", "Ytwo"}, {"c", "three"}}));
    EXPECT_FALSE(Edited());
}

TEST_F(SelectionTest, LabelWithoutSectionKeepsTheTextAndGetsItAppended) {
    StartWithLabelA();
    const int added = tree_.AddNode(0, "new", ui::kLabelImage, 1); // as a label command would
    ASSERT_EQ(added, 4);

    tree_.Select(added);
    EXPECT_EQ(workspace_.CurrentLabel(), "new");
    EXPECT_EQ(editBox_.ReadText(), "one");
    TypeIntoEditBox("Z");
    tree_.Select(2);

    EXPECT_EQ(Alpha(), alphaBytes_ + "\r\n[#new]\r\nZone\r\n");
}

TEST_F(SelectionTest, ArrowKeysLoadEachLabelPassedAndSaveBeforeEachMove) {
    StartWithLabelA();
    struct Step {
        Text label;
        Text text;
        Text document;
    };
    const Step steps[] = {{"b", "two", alpha_}, {"c", "three", alpha_}, {"", "kthree", beta_}};
    for (const Step& step : steps) {
        TypeIntoEditBox("k");
        QTest::keyClick(tree_.widget(), Qt::Key_Down);
        EXPECT_EQ(workspace_.CurrentLabel(), step.label);
        EXPECT_EQ(editBox_.ReadText(), step.text);
        EXPECT_EQ(workspace_.CurrentDocument(), step.document);
    }
    EXPECT_EQ(tree_.Selection(), 4);
    EXPECT_EQ(Alpha(), DocumentBytes({{"a", "kone"}, {"b", "ktwo"}, {"c", "kthree"}}));
}

struct CloseCase {
    const char* name;
    int selected;
    Text recordedLabel;
    Text alphaAfter;
    std::vector<ui::MessageAnswer> answers; // to the question about text of no label
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

const CloseCase kCloseCases[] = {
    {"LabelCurrent", 2, "b", DocumentBytes({{"a", "one"}, {"b", "Xtwo"}, {"c", "three"}}), {}},
    // The typed text belongs to no label: closing asks, and No closes without it.
    {"DocumentNodeSelected",
     0,
     "old",
     DocumentBytes({{"a", "one"}, {"b", "two"}, {"c", "three"}}),
     {ui::MessageAnswer::No}},
};

class SaveOnCloseTest : public SelectionTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(SaveOnCloseTest, SavesAndRecordsOnlyACurrentLabel) {
    const CloseCase& c = GetParam();
    workspace_.BuildTree();
    tree_.Select(2);
    tree_.Select(c.selected);
    WriteSettingValue(store::kCurrentLabelSetting, "old");
    TypeIntoEditBox("X");
    for (ui::MessageAnswer answer : c.answers) {
        dialogs_.ExpectMessage(answer);
    }

    EXPECT_EQ(workspace_.SaveOnClose(), CloseOutcome::Close);

    EXPECT_EQ(Setting(store::kCurrentLabelSetting), c.recordedLabel);
    EXPECT_EQ(Alpha(), c.alphaAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveOnCloseTest, ::testing::ValuesIn(kCloseCases), CaseName());

TEST_F(SelectionTest, SwitchIsWrittenOnlyWhenToggled) {
    std::vector<bool> shown;
    QObject::connect(&workspace_, &Workspace::AutoSaveSwitchChanged,
                     [&shown](bool on) { shown.push_back(on); });

    workspace_.SetAutoSaveSwitch(false);
    EXPECT_EQ(Setting(store::kAutoSaveSetting, "unset"), "unset");
    workspace_.ToggleAutoSave();
    EXPECT_TRUE(workspace_.IsAutoSaveOn());
    EXPECT_EQ(Setting(store::kAutoSaveSetting), text::BoolWord(true));
    workspace_.ToggleAutoSave();
    EXPECT_FALSE(workspace_.IsAutoSaveOn());
    EXPECT_EQ(Setting(store::kAutoSaveSetting), text::BoolWord(false));

    EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
}

} // namespace
} // namespace quorvel::workspace::testing
