#include "numeric/YMatrix.h"

#include <gtest/gtest.h>

TEST(YMatrixPointers, ReadAndWriteThroughTheView)
{
    LapackWorkspace workspace;
    YMatrix y(3, 2, &workspace);
    EXPECT_FALSE(y.hasPointers());
    y.createPointers(2, 1);
    ASSERT_TRUE(y.hasPointers());
    EXPECT_EQ(y.pointerRows(), 2);
    EXPECT_EQ(y.pointerCols(), 1);
    EXPECT_EQ(y.pointerCount(), 2);
    EXPECT_EQ(y.getPointer(1, 0), nullptr);

    y.setPointer(0, 0, &y.at(2, 1));
    y.setThroughPointer(0, 0, 7.5);
    EXPECT_EQ(y.get(2, 1), 7.5);
    EXPECT_EQ(y.getThroughPointer(0, 0), 7.5);

    y.createPointers(4, 4);
    EXPECT_EQ(y.pointerCount(), 16);
    EXPECT_EQ(y.getPointer(0, 0), nullptr);
}

TEST(YMatrixPointers, OwnsExactlyItsOwnStorage)
{
    LapackWorkspace workspace;
    YMatrix y(2, 2, &workspace);
    double outside = 0.0;
    EXPECT_TRUE(y.ownsAddress(&y.at(0, 0)));
    EXPECT_TRUE(y.ownsAddress(&y.at(1, 1)));
    EXPECT_FALSE(y.ownsAddress(&y.at(1, 1) + 1));
    EXPECT_FALSE(y.ownsAddress(&outside));
    YMatrix empty(&workspace);
    EXPECT_FALSE(empty.ownsAddress(&outside));
}

TEST(YMatrixCopy, CopyAndReleasePointersDropsTheView)
{
    LapackWorkspace workspace;
    YMatrix source(2, 1, &workspace);
    source.set(1, 0, 4.0);
    YMatrix target(&workspace);
    target.createPointers(1, 1);
    target.copyAndReleasePointers(source, false, 1);
    EXPECT_FALSE(target.hasPointers());
    ASSERT_EQ(target.getRows(), 3);
    EXPECT_EQ(target.get(1, 0), 4.0);
    EXPECT_EQ(target.get(2, 0), 0.0);
}
