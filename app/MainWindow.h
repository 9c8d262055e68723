#pragma once

#include "app/Bars.h"
#include "app/Clock.h"
#include "app/CommandRegistry.h"
#include "app/Layout.h"
#include "editor/EditRecorder.h"
#include "store/FileIo.h"
#include "ui/EditBox.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class QToolBar;

namespace quorvel::store {
class Settings;
}
namespace quorvel::ui {
class Dialogs;
}
namespace quorvel::workspace {
class DocumentCommands;
class LabelCommands;
class Workspace;
} // namespace quorvel::workspace

namespace quorvel::app {

class SplitterBar;
struct ProgramState;

// What a run starts from, a plain value the main window keeps a copy of. The program passes its own
// command line and working directory; tests pass a settings file in a temporary directory, a fixed
// clock and scripted dialogs.
struct StartupOptions {
    std::vector<std::string> arguments; // after the program's name, as the shell split them
    store::Path settingsPath;           // "": where the settings-location rule puts it
    store::Path workingDirectory;       // relative document arguments are taken against it
    ClockSource clock = ReadSystemClock;
    ui::Dialogs* dialogs = nullptr; // nullptr: Qt's own dialogs over this window
};

// The main window. It only assembles its parts, runs the start-up steps in their order and
// connects each command id to the part that carries the command out.
//
// Owns: the controls (toolbar, edit box, splitter bar, tree, status bar, clock timer) with their
// adapters, the menu bar, the command registry, the settings file (its path decided once, at
// set-up), the workspace (DocumentList, CurrentState, WindowTitle), the document commands of
// 文件(&F) with the backups, the label commands of 标签(&B) (both over the workspace and the
// window's dialogs, and gone before them), the edit recorder, and Qt's dialogs over this window
// when the options give none. Borrows for its whole life: the program-wide state (edit history,
// ...), which outlives it, and the dialogs when the options give them.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ProgramState& state, StartupOptions options);
    ~MainWindow() override;

    ui::EditBox& editBox() { return editBox_; }
    ui::TreeView& tree() { return tree_; }
    ui::StatusBar& statusBar() { return statusBar_; }
    SplitterBar& splitterBar() { return *splitter_; }
    store::Settings& settings() { return *settings_; }
    workspace::Workspace& workspace() { return *workspace_; }
    editor::EditRecorder& recorder() { return recorder_; }
    ui::Dialogs& dialogs() { return *dialogs_; }
    CommandRegistry& commands() { return commands_; }
    QAction* action(CommandId id) const;
    QToolBar* toolBar() const { return toolBar_; }
    QMenu* treePopup() const { return menus_.treePopup; }
    QTimer* clockTimer() const { return clock_; }

    // The geometry of the three side-by-side controls, in client pixels.
    const MainLayout& controlLayout() const { return layout_; }
    // The client area: below the menu bar, the toolbar's and the status bar's areas included.
    int ClientWidth() const;
    int ClientHeight() const;

    void LayoutMainWindow();
    void FollowSplitter(int splitterLeft);
    void UpdateClock();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpMainWindow();
    void ConnectCommands();
    void ConnectDocumentCommands();
    void ConnectLabelCommands();
    void ConnectWorkspace();
    void FirstActivation();
    int MenuBarBottom() const;
    QPoint CentralOffset() const;
    void ApplyLayout();
    bool IsWindowShortcut(const QKeyEvent& key) const;

    ProgramState& state_;
    StartupOptions options_;
    std::unique_ptr<ui::Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_ = nullptr;
    CommandRegistry commands_;

    QWidget* client_ = nullptr;
    ui::EditBox editBox_;
    SplitterBar* splitter_ = nullptr;
    ui::TreeView tree_;
    ui::StatusBar statusBar_;
    QToolBar* toolBar_ = nullptr;
    MenuBarParts menus_;
    QTimer* clock_ = nullptr;

    std::unique_ptr<store::Settings> settings_;
    std::unique_ptr<workspace::Workspace> workspace_;
    // Made with the workspace; declared after it so that they go first.
    std::unique_ptr<workspace::DocumentCommands> documentCommands_;
    std::unique_ptr<workspace::LabelCommands> labelCommands_;
    editor::EditRecorder recorder_;

    std::array<QWidget*, 4> inputControls_{}; // edit box and tree, with their viewports
    MainLayout layout_;
    bool activatedOnce_ = false;
};

} // namespace quorvel::app
