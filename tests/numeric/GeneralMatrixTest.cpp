#include "numeric/GeneralMatrix.h"
#include "numeric/YMatrix.h"

#include <gtest/gtest.h>

namespace {

/// rows x cols with element (i, j) = 10 (i + 1) + (j + 1), so 23 is row 1, column 2.
GeneralMatrix<int> numbered(std::int32_t rows, std::int32_t cols)
{
    GeneralMatrix<int> m(rows, cols);
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < cols; ++j) {
            m.set(i, j, 10 * (i + 1) + (j + 1));
        }
    }
    return m;
}

} // namespace

// LAPACK reads the storage directly: column-major with leading dimension rows.
TEST(GeneralMatrix, IsColumnMajorAndTransposeSwapsIndices)
{
    GeneralMatrix<int> m = numbered(2, 3);
    const int* raw = m.dataPointer();
    EXPECT_EQ(raw[1], 21);
    EXPECT_EQ(raw[2], 12);
    EXPECT_EQ(raw[5], 23);
    GeneralMatrix<int> t;
    m.transpose(t);
    ASSERT_EQ(t.getRows(), 3);
    ASSERT_EQ(t.getCols(), 2);
    EXPECT_EQ(t.get(2, 1), 23);
}

TEST(GeneralMatrix, ResizeZeroesEveryElementEvenWhenTheShapeIsUnchanged)
{
    GeneralMatrix<double> m(2, 2);
    m.set(1, 1, 5.0);
    m.resize(2, 2);
    EXPECT_EQ(m.get(1, 1), 0.0);
    GeneralMatrix<double*> pointers(1, 2);
    double x = 1.0;
    pointers.set(0, 1, &x);
    pointers.resize(1, 2);
    EXPECT_EQ(pointers.get(0, 1), nullptr);
    GeneralMatrix<int> empty;
    empty.resize(0, 4);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.getCols(), 4);
}

TEST(GeneralMatrix, CopyAddsZeroRowsAndHonoursTheDirection)
{
    GeneralMatrix<int> source = numbered(3, 2);
    GeneralMatrix<int> target(7, 7);
    target.copy(source, false, 2);
    ASSERT_EQ(target.getRows(), 5);
    ASSERT_EQ(target.getCols(), 2);
    EXPECT_EQ(target.get(2, 1), 32);
    EXPECT_EQ(target.get(3, 0), 0);
    EXPECT_EQ(target.get(4, 1), 0);
    GeneralMatrix<int> receiver;
    source.copy(receiver, true, 0);
    EXPECT_EQ(receiver.getRows(), 3);
    EXPECT_EQ(receiver.get(0, 1), 12);
    EXPECT_EQ(source.get(0, 1), 12);
}

// Rows are inserted before index repeating the displaced row (or above it), appended as
// zeros, and deleted with the rows below moving up.
TEST(GeneralMatrix, RowEditsKeepEveryOtherRowInPlace)
{
    GeneralMatrix<int> m = numbered(2, 2); // rows (11 12), (21 22)
    m.insertRow(0);                        // 11, 11, 21
    ASSERT_EQ(m.getRows(), 3);
    EXPECT_EQ(m.get(0, 1), 12);
    EXPECT_EQ(m.get(1, 1), 12);
    EXPECT_EQ(m.get(2, 1), 22);
    m.insertRowCopyAbove(2); // 11, 11, 11, 21
    EXPECT_EQ(m.get(2, 0), 11);
    EXPECT_EQ(m.get(3, 0), 21);
    m.deleteRow(0); // 11, 11, 21
    m.appendRow();  // 11, 11, 21, 0
    ASSERT_EQ(m.getRows(), 4);
    EXPECT_EQ(m.get(2, 1), 22);
    EXPECT_EQ(m.get(3, 1), 0);
    m.transposeInPlace();
    ASSERT_EQ(m.getRows(), 2);
    EXPECT_EQ(m.get(1, 2), 22);
}

// The sample generation writes through the pointer view into Y's own storage.
TEST(YMatrix, PointerViewStartsNullAndWritesIntoTheMatrix)
{
    LapackWorkspace workspace;
    YMatrix y(3, 2, &workspace);
    EXPECT_FALSE(y.hasPointers());
    y.createPointers(2, 1);
    ASSERT_TRUE(y.hasPointers());
    EXPECT_EQ(y.getPointer(1, 0), nullptr);
    y.setPointer(0, 0, &y.at(2, 1));
    y.setThroughPointer(0, 0, 7.5);
    EXPECT_EQ(y.get(2, 1), 7.5);
    y.createPointers(4, 4); // recreated: all null again
    EXPECT_EQ(y.pointerCount(), 16);
    EXPECT_EQ(y.getPointer(0, 0), nullptr);

    double outside = 0.0;
    EXPECT_TRUE(y.ownsAddress(&y.at(0, 0)));
    EXPECT_TRUE(y.ownsAddress(&y.at(2, 1)));
    EXPECT_FALSE(y.ownsAddress(&y.at(2, 1) + 1));
    EXPECT_FALSE(y.ownsAddress(&outside));
    EXPECT_FALSE(YMatrix(&workspace).ownsAddress(&outside));
}

TEST(YMatrix, CopyAndReleasePointersDropsTheView)
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
