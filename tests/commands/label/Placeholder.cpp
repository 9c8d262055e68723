#include <gtest/gtest.h>

TEST(Placeholder, label) { SUCCEED(); }
