#include <gtest/gtest.h>

TEST(Placeholder, store_settings) { SUCCEED(); }
