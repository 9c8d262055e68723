#include <gtest/gtest.h>

TEST(Placeholder, store_backup) { SUCCEED(); }
