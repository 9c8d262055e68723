#pragma once

// The pixel rules that keep the edit box, the splitter bar and the tree side by side. Positions are
// in client pixels: the area below the menu bar, the toolbar's and the status bar's areas included.
// Only the left edges, widths and heights ever change; the tops stay at 32, 32 and 31. A width or
// height that a rule computes below 0 is 0.
namespace quorvel::app {

// One control's rectangle in client pixels, a plain value.
struct ControlGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const ControlGeometry&, const ControlGeometry&) = default;
};

// The three rectangles, a plain value kept by the main window; the rules take and give copies.
struct MainLayout {
    ControlGeometry editBox{0, 32, 504, 544};
    ControlGeometry splitter{506, 32, 5, 544};
    ControlGeometry tree{512, 31, 160, 552};

    friend bool operator==(const MainLayout&, const MainLayout&) = default;
};

// The window was resized to a client area of width × height: the tree keeps its width, the edit
// box takes up the change.
MainLayout LayoutMainWindow(MainLayout layout, int clientWidth, int clientHeight);

// The splitter bar was dragged so that its left edge is at splitterLeft.
MainLayout FollowSplitter(MainLayout layout, int splitterLeft, int clientWidth);

// The left edges the splitter bar may be dragged to: neither neighbour gets a negative width.
int ClampSplitterLeft(const MainLayout& layout, int splitterLeft, int clientWidth);

} // namespace quorvel::app
