#include <gtest/gtest.h>

TEST(Placeholder, app) { SUCCEED(); }
