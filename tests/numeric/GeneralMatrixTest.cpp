#include "numeric/GeneralMatrix.h"

#include <gtest/gtest.h>

// LAPACK reads the storage directly: column-major with leading dimension rows.
TEST(GeneralMatrix, IsColumnMajorAndTransposeSwapsIndices)
{
    GeneralMatrix<int> m(2, 3);
    m.set(1, 0, 21);
    m.set(0, 1, 12);
    m.set(1, 2, 23);
    EXPECT_EQ(m.dataPointer()[1], 21);
    EXPECT_EQ(m.dataPointer()[2], 12);
    EXPECT_EQ(m.dataPointer()[5], 23);
    GeneralMatrix<int> t;
    m.transpose(t);
    ASSERT_EQ(t.getRows(), 3);
    EXPECT_EQ(t.get(2, 1), 23);
}
