#include "app/SplitterBar.h"

#include <QMouseEvent>

namespace quorvel::app {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("分隔条1"));
    setCursor(Qt::SplitHCursor);
}

int SplitterBar::LeftFor(const QMouseEvent& event) const {
    const QPoint inParent = mapToParent(event.position().toPoint());
    return inParent.x() - grabOffset_;
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    grabOffset_ = event->position().toPoint().x();
    event->accept();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    emit Dragged(LeftFor(*event));
    event->accept();
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    emit Dragged(LeftFor(*event));
    event->accept();
}

} // namespace quorvel::app
