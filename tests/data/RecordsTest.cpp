#include "TRVDoc.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(Records, Placeholder) { EXPECT_EQ(MemoryPosition(250), 250); }
