#pragma once

#include "text/CodePage.h"

#include <QObject>
#include <QPointer>
#include <array>

class QLabel;
class QStatusBar;
class QWidget;

// The status bar: three fixed panes of 274, 200 and 200 pixels. Reading a pane gives
// exactly the bytes last written to it; a pane number outside 0 to 2 is ignored.
namespace quorvel::ui {

// Owns its Qt bar (until the parent window deletes it first) and a copy of each pane's text, so
// that a pane shows exactly what was written. It only displays: pane 0 shows the workspace's
// current label, pane 1 the homepage line, pane 2 the clock; what is current lives elsewhere.
// Owned by the main window, or a test.
class StatusBar : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> kPaneWidths{274, 200, 200};

    explicit StatusBar(QWidget* parent = nullptr);
    ~StatusBar() override;
    QStatusBar* widget() const;

    void WritePane(int pane, const Text& text);
    Text ReadPane(int pane) const;

private:
    // Guarded: the bar may go with its window before this object does.
    QPointer<QStatusBar> bar_;
    std::array<QLabel*, 3> panes_{};
    std::array<Text, 3> texts_{};
};

} // namespace quorvel::ui
