#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "workspace/LabelCommands.h"
#include "workspace/WorkspaceFixture.h"

#include <string>
#include <vector>

namespace quorvel::workspace::testing {

using Command = void (LabelCommands::*)();

// The label commands over the real workspace, with scripted dialogs. alpha.txt holds a and b,
// beta.txt holds x; both are registered. After Start the nodes are: 0 alpha, 1 a, 2 b; 3 beta, 4 x.
class LabelCommandsTest : public WorkspaceTest {
protected:
    void SetUp() override;

    // Builds the tree with both documents expanded, then selects the node as a user would, which
    // loads it (kNoNode selects nothing).
    void Start(int select);
    // A right click on the node's centre: it selects and loads the node, then the menu pops up.
    void RightClick(int index);

    Text Alpha() const { return quorvel::testing::ReadBytes(alpha_); }
    Text Beta() const { return quorvel::testing::ReadBytes(beta_); }
    // The directory of the documents as the commands hand it to a file dialog.
    Text Folder() const { return dir_.path() + "/"; }

    // Each dialog shown: "message|text|title|style", "ask|prompt|initial text" or
    // "save|title|start directory".
    std::vector<Text> DialogLog() const;
    // Everything a command might change: the tree, the selection, the CurrentDocument and the
    // CurrentLabel, the edit box, the edited flag, the captions, the files in the directory (with
    // their bytes) and the settings file.
    std::vector<Text> Snapshot() const;

    const Text alphaBytes_ = DocumentBytes({{"a", "one"}, {"b", "two"}});
    const Text betaBytes_ = DocumentBytes({{"x", "ex"}});
    Text alpha_;
    Text beta_;
    LabelCommands commands_{workspace_, dialogs_};
};

} // namespace quorvel::workspace::testing
