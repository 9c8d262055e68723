#include <gtest/gtest.h>

TEST(Placeholder, ui_editbox) { SUCCEED(); }
