#pragma once

#include "text/CodePage.h"

#include <QObject>
#include <QPointer>
#include <array>

class QLabel;
class QStatusBar;
class QWidget;

// The status bar 状态条1: three fixed panes of 274, 200 and 200 pixels. Reading a pane gives
// exactly the bytes last written to it; a pane number outside 0 to 2 is ignored.
namespace quorvel::ui {

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
