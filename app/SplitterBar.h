#pragma once

#include <QWidget>

// The splitter bar: a thin vertical bar with a sideways-resize cursor. Dragging it reports
// where its left edge would go, in its parent's coordinates; the window moves it (FollowSplitter).
namespace quorvel::app {

// Owns only its drag state; the main window owns the bar (as a child widget) and moves it.
class SplitterBar final : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

signals:
    void Dragged(int left);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int LeftFor(const QMouseEvent& event) const;

    bool dragging_ = false;
    int grabOffset_ = 0; // where in the bar the button went down
};

} // namespace quorvel::app
