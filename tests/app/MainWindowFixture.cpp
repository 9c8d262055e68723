#include "MainWindowFixture.h"

#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>
#include <filesystem>

namespace quorvel::app::testing {

std::string InDir(std::string_view text, const std::string& dir) {
    static constexpr std::string_view kMark = "{dir}";
    std::string result(text);
    for (std::size_t at = result.find(kMark); at != std::string::npos;
         at = result.find(kMark, at + dir.size())) {
        result.replace(at, kMark.size(), dir);
    }
    return result;
}

MainWindowTest::~MainWindowTest() {
    window_.reset(); // before the program-wide state it borrows
}

std::string MainWindowTest::WriteFile(std::string_view name, std::string_view bytes) {
    const std::string path = dir_.File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    quorvel::testing::WriteBytes(path, InDir(bytes, Dir()));
    return path;
}

void MainWindowTest::Start(const std::vector<std::string>& arguments) {
    StartupOptions options;
    for (const std::string& argument : arguments) {
        options.arguments.push_back(InDir(argument, Dir()));
    }
    options.settingsPath = SettingsPath();
    options.workingDirectory = Dir();
    options.clock = [this] { return now_; };
    options.dialogs = &dialogs_;
    window_ = std::make_unique<MainWindow>(*state_, std::move(options));
}

Text MainWindowTest::Setting(store::SettingName name, const Text& defaultValue) const {
    const store::Settings fresh(SettingsPath());
    return fresh.ReadSetting(name, defaultValue);
}

std::vector<Text> MainWindowTest::TreeTexts() {
    std::vector<Text> texts;
    ui::TreeView& tree = window_->tree();
    for (int i = 0; i < tree.Count(); ++i) {
        const bool label = window_->workspace().KindOf(i) == workspace::NodeKind::Label;
        texts.push_back((label ? "  " : "") + tree.NodeText(i));
    }
    return texts;
}

void MainWindowTest::ShowActive() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

bool MainWindowTest::WaitUntil(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 5000) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QRect MainWindowTest::ClientRect(const QWidget& control) {
    const QMenuBar* menu = window_->menuBar();
    const QPoint inWindow = control.mapTo(window_.get(), QPoint(0, 0));
    return QRect(inWindow - QPoint(0, menu->geometry().bottom() + 1), control.size());
}

} // namespace quorvel::app::testing
