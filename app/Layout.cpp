#include "app/Layout.h"

#include <algorithm>

namespace quorvel::app {
namespace {

int NotNegative(int value) {
    return std::max(value, 0);
}

} // namespace

// Each step reads back what the step before wrote, as a control would report it (clamped).
MainLayout LayoutMainWindow(MainLayout layout, int clientWidth, int clientHeight) {
    layout.editBox.width = NotNegative(clientWidth - layout.tree.width - layout.splitter.width - 2);
    layout.splitter.left = layout.editBox.width + 1;
    layout.tree.left = layout.splitter.left + layout.splitter.width + 1;
    layout.editBox.height = NotNegative(clientHeight - 50);
    layout.splitter.height = layout.editBox.height;
    layout.tree.height = layout.editBox.height;
    return layout;
}

MainLayout FollowSplitter(MainLayout layout, int splitterLeft, int clientWidth) {
    layout.editBox.width = NotNegative(splitterLeft - 1);
    layout.splitter.left = splitterLeft;
    layout.tree.left = layout.splitter.left + layout.splitter.width + 1;
    layout.tree.width = NotNegative(clientWidth - layout.splitter.left - layout.splitter.width - 1);
    return layout;
}

int ClampSplitterLeft(const MainLayout& layout, int splitterLeft, int clientWidth) {
    const int rightmost = std::max(1, clientWidth - layout.splitter.width - 1);
    return std::clamp(splitterLeft, 1, rightmost);
}

} // namespace quorvel::app
