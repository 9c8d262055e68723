#pragma once

// Pictures of the running program for the documents, asked for through the environment:
//   QUORVEL_SCREENSHOT=path        once the window has settled, save a picture of it there and
//                                  close the window, as a user would;
//   QUORVEL_SCREENSHOT_DELAY=ms    the wait before the picture (1500 by default);
//   QUORVEL_SCREENSHOT_POPUP=1     open the label menu as the tree's pop-up over the selected node
//                                  first, and take the screen around the window and the pop-up,
//                                  since a pop-up is a window of its own.
namespace quorvel::app {

class MainWindow;

// Does nothing when QUORVEL_SCREENSHOT is unset or empty.
void ScheduleScreenshot(MainWindow& window);

} // namespace quorvel::app
