#include "text/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, Placeholder) { SUCCEED(); }
