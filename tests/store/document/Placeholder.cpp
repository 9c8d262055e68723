#include <gtest/gtest.h>

TEST(Placeholder, store_document) { SUCCEED(); }
