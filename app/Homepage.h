#pragma once

#include "store/FileIo.h"

// HomepageAddress: the local file URL of the user guide that ships with the program, shown in
// status pane 1 at start-up and opened from the about window.
namespace quorvel::app {

// The installed guide when it exists, else the one in the source tree beside the build.
store::Path ChooseGuidePath(const store::Path& installedGuide, const store::Path& sourceGuide);

// A file URL of a path, in the active code page.
Text FileUrl(const store::Path& path);

Text HomepageAddress();

} // namespace quorvel::app
