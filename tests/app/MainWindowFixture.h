#pragma once

#include "app/Clock.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "store/Settings.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace quorvel::app::testing {

// "{dir}" in a text becomes the temporary directory, so that tables can name real paths.
std::string InDir(std::string_view text, const std::string& dir);

// The real main window over a temporary directory: its own settings file (kelmora.ini there),
// the directory as the working directory, a clock standing at 2013-05-07 14:03:09 and scripted
// dialogs that fail the test on any dialog shown.
class MainWindowTest : public ::testing::Test {
protected:
    ~MainWindowTest() override;

    std::string Dir() const { return dir_.path(); }
    std::string SettingsPath() const { return dir_.File("kelmora.ini"); }
    // Writes a file (its folders made) from a text with "{dir}" in it; its full path.
    std::string WriteFile(std::string_view name, std::string_view bytes);
    void WriteSettings(std::string_view text) { WriteFile("kelmora.ini", text); }

    void Start(const std::vector<std::string>& arguments = {});
    MainWindow& Window() { return *window_; }

    // A value of the settings file as a fresh reader sees it on disk.
    Text Setting(store::SettingName name, const Text& defaultValue = {}) const;
    // Each node's text in index order, a label node indented by two blanks.
    std::vector<Text> TreeTexts();

    // Shows the window and waits until it is the active window.
    void ShowActive();
    // Waits (events processed) until the condition holds or a generous limit passes.
    static bool WaitUntil(const std::function<bool()>& condition);
    // A control's rectangle in client pixels: below the menu bar, the toolbar included.
    QRect ClientRect(const QWidget& control);

    quorvel::testing::TempDir dir_;
    ClockReading now_{2013, 5, 7, 14, 3, 9};
    std::unique_ptr<ProgramState> state_ = CreateProgramState();
    quorvel::testing::ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace quorvel::app::testing
