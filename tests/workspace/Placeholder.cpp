#include <gtest/gtest.h>

TEST(Placeholder, workspace) { SUCCEED(); }
