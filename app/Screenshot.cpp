#include "app/Screenshot.h"

#include "app/MainWindow.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <string_view>

namespace quorvel::app {
namespace {

constexpr int kDefaultDelay = 1500;
constexpr int kPopupPaintWait = 500; // the pop-up is mapped and painted by then

// Where a right click on the selected node (else the first one) would be: on its text.
QPoint PopupPosition(MainWindow& window) {
    const QTreeWidget* tree = window.tree().widget();
    const QTreeWidgetItem* item =
        tree->currentItem() != nullptr ? tree->currentItem() : tree->topLevelItem(0);
    if (item == nullptr) {
        return tree->mapToGlobal(tree->rect().center());
    }
    const QRect node = tree->visualItemRect(item);
    return tree->viewport()->mapToGlobal(QPoint(node.left() + node.width() / 3, node.center().y()));
}

// The screen around the window's frame and the pop-up, the rest of the screen left transparent.
void SaveScreenAround(const QWidget& window, const QMenu& popup, const QString& target) {
    QScreen* screen = window.screen();
    const QRect bounds = screen->geometry();
    const QRect frame = window.frameGeometry().intersected(bounds);
    const QRect menu = popup.geometry().intersected(bounds);
    const QRect area = frame.united(menu);
    const QPixmap grabbed = screen->grabWindow(0, area.x() - bounds.x(), area.y() - bounds.y(),
                                               area.width(), area.height());
    QPixmap picture(grabbed.size());
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        const QPoint origin = area.topLeft();
        painter.setClipRegion(QRegion(frame.translated(-origin)) +
                              QRegion(menu.translated(-origin)));
        painter.drawPixmap(0, 0, grabbed);
    }
    picture.save(target, "PNG");
}

} // namespace

void ScheduleScreenshot(MainWindow& window) {
    const char* path = std::getenv("QUORVEL_SCREENSHOT");
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    const char* delayText = std::getenv("QUORVEL_SCREENSHOT_DELAY");
    const int delay = delayText != nullptr ? std::atoi(delayText) : kDefaultDelay;
    const char* popupText = std::getenv("QUORVEL_SCREENSHOT_POPUP");
    const bool withPopup = popupText != nullptr && std::string_view(popupText) == "1";
    const QString target = QString::fromLocal8Bit(path);

    QTimer::singleShot(delay > 0 ? delay : kDefaultDelay, &window, [&window, target, withPopup] {
        if (!withPopup) {
            window.grab().save(target, "PNG");
            window.close();
            return;
        }
        QMenu* popup = window.treePopup();
        popup->popup(PopupPosition(window));
        QTimer::singleShot(kPopupPaintWait, &window, [&window, popup, target] {
            SaveScreenAround(window, *popup, target);
            popup->close();
            window.close();
        });
    });
}

} // namespace quorvel::app
