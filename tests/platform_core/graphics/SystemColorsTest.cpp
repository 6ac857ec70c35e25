#include "platform/core/graphics/SystemColors.h"

#include <gtest/gtest.h>

TEST(SystemColors, ResolvesIndexesInTheLowByte)
{
    EXPECT_EQ(ResolveSystemColor(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(ResolveSystemColor(clWindow), RGB(255, 255, 255));
    EXPECT_EQ(ResolveSystemColor(clInfoBk), RGB(255, 255, 225));
    EXPECT_EQ(ResolveSystemColor(clRed), clRed) << "plain colours pass";
    EXPECT_EQ(GetSysColor(-1), 0);
    EXPECT_EQ(GetSysColor(31), 0);
    EXPECT_EQ(ResolveSystemColor(clSystemColor | 200), 0);
}
