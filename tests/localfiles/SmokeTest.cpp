#include "localfiles/unt_Public.h"
#include <gtest/gtest.h>
TEST(Smoke, ReplaceAll) { EXPECT_EQ(localfiles::ReplaceAll("aaaa", "aa", "a"), "a"); }
