// Memory size and full-scale count follow the logger type.

#include "settings/memory_geometry.h"

#include <gtest/gtest.h>

using namespace tamble;

TEST(MemoryGeometry, StartsAtZero)
{
    const MemoryGeometry g;
    EXPECT_EQ(g.memoryCapacity, 0);
    EXPECT_EQ(g.fullScaleCount, 0);
}

TEST(MemoryGeometry, EightTenAndTwelveBitTypes_SetCapacityAndFullScale)
{
    struct Case { int type; int capacity; int fullScale; };
    for (const Case c : {Case{1, 32256, 255}, Case{2, 25800, 1023}, Case{3, 21504, 4095}}) {
        SCOPED_TRACE(c.type);
        MemoryGeometry g;
        ApplyResolutionType(g, c.type);
        EXPECT_EQ(g.memoryCapacity, c.capacity);
        EXPECT_EQ(g.fullScaleCount, c.fullScale);
        EXPECT_EQ(g.resolutionType, c.type);
    }
}

TEST(MemoryGeometry, OtherTypes_LeaveCapacityAndFullScaleUnchanged)
{
    for (int type : {0, 4, 5, 6, 255, -1}) {
        SCOPED_TRACE(type);
        MemoryGeometry g;
        ApplyResolutionType(g, type);
        EXPECT_EQ(g.memoryCapacity, 0);
        EXPECT_EQ(g.fullScaleCount, 0);
        ApplyResolutionType(g, 2);
        ApplyResolutionType(g, type);
        EXPECT_EQ(g.memoryCapacity, 25800);
        EXPECT_EQ(g.fullScaleCount, 1023);
        EXPECT_EQ(g.resolutionType, type);
    }
}
