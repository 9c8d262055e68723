#include <gtest/gtest.h>

TEST(Placeholder, ui_widgets) { SUCCEED(); }
