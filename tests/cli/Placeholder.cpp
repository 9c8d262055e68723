#include <gtest/gtest.h>

TEST(Placeholder, cli) { SUCCEED(); }
