#pragma once

#include "editor/EditHistory.h"
#include "editor/EditRecorder.h"
#include "store/Settings.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

class QTreeWidgetItem;

namespace quorvel::workspace::testing {

inline const Text kTitle = "Quorvel - ";

struct Section {
    Text label;
    Text text;
};
// A document's bytes: header lines and texts joined by CR LF, no break at the end.
Text DocumentBytes(std::initializer_list<Section> sections);

// Real widgets in a plain window, a real settings file in a temporary directory, the real edit
// recorder reporting edits to the workspace, and the workspace under test with the auto-save
// switch on.
class WorkspaceTest : public ::testing::Test {
protected:
    WorkspaceTest();

    // Writes a document into the temporary directory; its full path.
    Text WriteDocument(std::string_view name, std::initializer_list<Section> sections);
    Text PathOf(std::string_view name) const { return dir_.File(name); }
    // Writes [文件] key = value directly, gaps and removed marks included.
    void WriteRegistryKey(int key, const Text& value);
    void Register(std::initializer_list<Text> paths);
    Text Setting(store::SettingName name, const Text& defaultValue = {}) const;
    void WriteSettingValue(store::SettingName name, const Text& value);

    // Each node as "level|text|item value|image", in index order.
    std::vector<Text> TreeDump() const;
    QTreeWidgetItem* ItemOf(int index) const;
    // The node's centre in viewport coordinates.
    QPoint NodeCentre(int index) const;

    // Shows the window and makes it active, so that focus works as on a desktop.
    void ShowWindow();
    // As a user does: clicks into the edit box, types, and goes back to the tree.
    void TypeIntoEditBox(const char* keys); // UTF-8
    // Selects everything in the edit box and deletes it, from the keyboard.
    void EmptyEditBox();
    void FocusTree();
    // The workspace's edited flag.
    bool Edited() const { return workspace_.Current().edited; }

    quorvel::testing::TempDir dir_;
    store::Settings settings_{dir_.File("kelmora.ini")};
    QWidget window_;
    ui::TreeView tree_{&window_};
    ui::EditBox editBox_{&window_};
    ui::StatusBar statusBar_{&window_};
    editor::EditHistory history_;
    editor::EditRecorder recorder_{editBox_, history_};
    // Fails the test on a dialog that was not expected.
    quorvel::testing::ScriptedDialogs dialogs_;
    Workspace workspace_{{settings_, tree_, editBox_, statusBar_, dialogs_}, kTitle};
    std::vector<Text> captions_;
    std::vector<QPoint> popups_;
};

} // namespace quorvel::workspace::testing
