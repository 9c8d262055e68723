#include "app/MainWindow.h"

#include "app/Arguments.h"
#include "app/Homepage.h"
#include "app/ProgramState.h"
#include "app/SplitterBar.h"
#include "app/StartUp.h"
#include "store/Backup.h"
#include "store/Settings.h"
#include "store/SettingsLocation.h"
#include "text/Words.h"
#include "ui/ByteCodec.h"
#include "ui/QtDialogs.h"
#include "workspace/DocumentCommands.h"
#include "workspace/LabelCommands.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace quorvel::app {
namespace {

constexpr int kClockInterval = 1000;

// Platforms on which a shown window is never activated, so the first show stands in for it.
bool PlatformNeverActivates() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void SetGeometry(QWidget& widget, const ControlGeometry& geometry, QPoint offset) {
    widget.setGeometry(geometry.left - offset.x(), geometry.top - offset.y(), geometry.width,
                       geometry.height);
}

} // namespace

MainWindow::MainWindow(ProgramState& state, StartupOptions options)
    : state_(state), options_(std::move(options)), client_(new QWidget(this)), editBox_(client_),
      splitter_(new SplitterBar(client_)), tree_(client_), statusBar_(this),
      toolBar_(new QToolBar(QStringLiteral("工具条1"), this)), clock_(new QTimer(this)),
      recorder_(editBox_, state_.history) {
    if (options_.dialogs == nullptr) {
        ownDialogs_ = std::make_unique<ui::QtDialogs>(this);
    }
    dialogs_ = options_.dialogs != nullptr ? options_.dialogs : ownDialogs_.get();

    resize(680, 650);
    move(50, 50);
    setContextMenuPolicy(Qt::PreventContextMenu); // no toolbar-hiding menu of the main window

    toolBar_->setObjectName(QStringLiteral("工具条1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    BuildToolbar(*toolBar_, commands_);

    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    inputControls_ = {editBox_.widget(), editBox_.widget()->viewport(), tree_.widget(),
                      tree_.widget()->viewport()};
    for (QWidget* control : inputControls_) {
        control->installEventFilter(this);
    }
    statusBar_.widget()->setObjectName(QStringLiteral("状态条1"));
    setStatusBar(statusBar_.widget());
    // The fixed panes (674 pixels) may run past the edge of a narrower window, as native panes
    // do, instead of holding the window wider than its designed 680 pixels.
    statusBar_.widget()->setMinimumWidth(1);
    ApplyLayout();
    connect(splitter_, &SplitterBar::Dragged, this,
            [this](int left) { FollowSplitter(left + CentralOffset().x()); });

    menus_ = BuildMenuBar(*menuBar(), *this, commands_);

    clock_->setObjectName(QStringLiteral("时钟1"));
    clock_->setInterval(kClockInterval);
    connect(clock_, &QTimer::timeout, this, &MainWindow::UpdateClock);

    SetUpMainWindow();
    ConnectCommands();
    clock_->start();
}

MainWindow::~MainWindow() {
    // The parts go before the window's own children; nothing may reach them half gone.
    client_->removeEventFilter(this);
    for (QWidget* control : inputControls_) {
        control->removeEventFilter(this);
    }
}

// The created event: everything runs before the window is shown.
void MainWindow::SetUpMainWindow() {
    const std::optional<Text> documentArgument =
        DocumentArgument(options_.arguments, options_.workingDirectory);

    setWindowTitle(ui::DecodeForDisplay(kWindowTitle));

    settings_ = std::make_unique<store::Settings>(
        !options_.settingsPath.empty()
            ? options_.settingsPath
            : store::SettingsFilePath(store::CurrentSettingsEnvironment()));
    workspace_ = std::make_unique<workspace::Workspace>(
        workspace::WorkspaceParts{*settings_, tree_, editBox_, statusBar_, *dialogs_},
        Text(kWindowTitle));
    documentCommands_ = std::make_unique<workspace::DocumentCommands>(*workspace_, *dialogs_);
    labelCommands_ = std::make_unique<workspace::LabelCommands>(*workspace_, *dialogs_);
    ConnectWorkspace();

    DecideCurrentDocument(*settings_, *workspace_, documentArgument);
    RestoreSavedState(RestoreTargets{*settings_, *workspace_, editBox_, tree_, documentArgument});
    action(CommandId::ToggleAutoSave)->setChecked(workspace_->IsAutoSaveOn());
    // The platform's own Qt style draws every window: there is nothing to switch on.
    statusBar_.WritePane(1, text::InterfaceText("主页:") + HomepageAddress());
}

void MainWindow::ConnectWorkspace() {
    // The recorder only reports edits; the workspace keeps the flag for its auto-save.
    connect(&recorder_, &editor::EditRecorder::Edited, workspace_.get(),
            &workspace::Workspace::MarkEdited);
    connect(workspace_.get(), &workspace::Workspace::CaptionChanged, this,
            [this](const Text& caption) { setWindowTitle(ui::DecodeForDisplay(caption)); });
    connect(workspace_.get(), &workspace::Workspace::AutoSaveSwitchChanged, this,
            [this](bool on) { action(CommandId::ToggleAutoSave)->setChecked(on); });
    connect(workspace_.get(), &workspace::Workspace::PopupRequested, this,
            [this](QPoint globalPosition) { menus_.treePopup->popup(globalPosition); });
}

void MainWindow::ConnectCommands() {
    commands_.Connect(CommandId::UndoEdit, [this] { recorder_.UndoEdit(); });
    commands_.Connect(CommandId::RedoEdit, [this] { recorder_.RedoEdit(); });
    commands_.Connect(CommandId::ToggleAutoSave, [this] {
        workspace_->ToggleAutoSave();
        // The item flips itself when clicked; the switch is what counts.
        action(CommandId::ToggleAutoSave)->setChecked(workspace_->IsAutoSaveOn());
    });
    ConnectDocumentCommands();
    ConnectLabelCommands();
}

// 文件(&F), its toolbar buttons 0 and 1 and its shortcuts.
void MainWindow::ConnectDocumentCommands() {
    workspace::DocumentCommands& documents = *documentCommands_;
    commands_.Connect(CommandId::NewDocument, [&documents] { documents.NewDocument(); });
    commands_.Connect(CommandId::OpenDocument, [&documents] { documents.OpenDocument(); });
    commands_.Connect(CommandId::SaveDocumentCopy, [&documents] { documents.SaveDocumentCopy(); });
    commands_.Connect(CommandId::DeleteDocumentFile,
                      [&documents] { documents.DeleteDocumentFile(); });
    commands_.Connect(CommandId::RestoreAutomaticBackup,
                      [&documents] { documents.RestoreBackup(store::kStartupBackupPrefix); });
    commands_.Connect(CommandId::ManualBackup, [&documents] { documents.ManualBackup(); });
    commands_.Connect(CommandId::RestoreManualBackup,
                      [&documents] { documents.RestoreBackup(store::kManualBackupPrefix); });
}

// 标签(&B), which is also the tree's pop-up, its toolbar buttons 3, 4 and 5 and its shortcuts.
void MainWindow::ConnectLabelCommands() {
    workspace::LabelCommands& labels = *labelCommands_;
    commands_.Connect(CommandId::NewLabel, [&labels] { labels.NewLabel(); });
    commands_.Connect(CommandId::SaveLabel, [&labels] { labels.SaveLabel(); });
    commands_.Connect(CommandId::SaveLabelToDocument, [&labels] { labels.SaveLabelToDocument(); });
    commands_.Connect(CommandId::RenameNode, [&labels] { labels.RenameNode(); });
    commands_.Connect(CommandId::DeleteNode, [&labels] { labels.DeleteNode(); });
    commands_.Connect(CommandId::ShowWholeDocument, [&labels] { labels.ShowWholeDocument(); });
}

QAction* MainWindow::action(CommandId id) const {
    const auto found = menus_.actions.find(id);
    return found != menus_.actions.end() ? found->second : nullptr;
}

void MainWindow::FirstActivation() {
    if (activatedOnce_) {
        return;
    }
    activatedOnce_ = true;
    recorder_.SeedHistory();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        FirstActivation();
    }
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (PlatformNeverActivates()) {
        FirstActivation();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (workspace_->SaveOnClose() == workspace::CloseOutcome::KeepOpen) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::IsWindowShortcut(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const auto& [id, item] : menus_.actions) {
        if (!item->shortcut().isEmpty() && item->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Without a window manager an X11 window is never activated; the user's first key or click
    // in the window stands in for the activation, before it changes anything.
    if (!activatedOnce_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) &&
        isVisible()) {
        FirstActivation();
    }
    if (watched == client_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        LayoutMainWindow();
    }
    // The edit box would claim Ctrl+Z, Ctrl+C and the like for itself; the window's shortcuts
    // run first.
    if (event->type() == QEvent::ShortcutOverride && watched == editBox_.widget() &&
        IsWindowShortcut(static_cast<const QKeyEvent&>(*event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

int MainWindow::MenuBarBottom() const {
    const QWidget* menu = menuWidget();
    return menu != nullptr && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
}

QPoint MainWindow::CentralOffset() const {
    return client_->pos() - QPoint(0, MenuBarBottom());
}

int MainWindow::ClientWidth() const {
    return width();
}

int MainWindow::ClientHeight() const {
    return height() - MenuBarBottom();
}

void MainWindow::ApplyLayout() {
    const QPoint offset = CentralOffset();
    SetGeometry(*editBox_.widget(), layout_.editBox, offset);
    SetGeometry(*splitter_, layout_.splitter, offset);
    SetGeometry(*tree_.widget(), layout_.tree, offset);
}

void MainWindow::LayoutMainWindow() {
    layout_ = app::LayoutMainWindow(layout_, ClientWidth(), ClientHeight());
    ApplyLayout();
}

void MainWindow::FollowSplitter(int splitterLeft) {
    const int width = ClientWidth();
    layout_ = app::FollowSplitter(layout_, ClampSplitterLeft(layout_, splitterLeft, width), width);
    ApplyLayout();
}

void MainWindow::UpdateClock() {
    statusBar_.WritePane(2, FormatClock(options_.clock()));
}

} // namespace quorvel::app
