#include "HostFixture.h"

TEST_F(HostTest, CountsTwentyRows) { EXPECT_EQ(20, host.RowCount()); }
