#include "numeric/GeneralMatrix.h"

#include <gtest/gtest.h>

namespace {

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

TEST(GeneralMatrixStorage, IsColumnMajorWithLeadingDimensionRows)
{
    GeneralMatrix<int> m = numbered(2, 3);
    const int* raw = m.dataPointer();
    EXPECT_EQ(raw[0], 11);
    EXPECT_EQ(raw[1], 21);
    EXPECT_EQ(raw[2], 12);
    EXPECT_EQ(raw[5], 23);
    EXPECT_EQ(m.getSize(), 6);
}

TEST(GeneralMatrixResize, ZeroesEveryElementEvenWhenTheShapeIsUnchanged)
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
    EXPECT_TRUE(empty.isEmpty());
    empty.resize(0, 4);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.getCols(), 4);
}

TEST(GeneralMatrixCopy, ExtraRowsAreZeroAndDirectionIsHonoured)
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

TEST(GeneralMatrixTranspose, SwapsShapeAndIndices)
{
    GeneralMatrix<int> m = numbered(2, 3);
    GeneralMatrix<int> t;
    m.transpose(t);
    ASSERT_EQ(t.getRows(), 3);
    ASSERT_EQ(t.getCols(), 2);
    EXPECT_EQ(t.get(2, 1), 23);

    m.transposeInPlace();
    ASSERT_EQ(m.getRows(), 3);
    EXPECT_EQ(m.get(2, 0), 13);
}

TEST(GeneralMatrixRows, InsertRepeatsTheDisplacedRowAndAppendsZeros)
{
    GeneralMatrix<double> m(2, 2);
    m.set(0, 0, 1.0);
    m.set(0, 1, 2.0);
    m.set(1, 0, 3.0);
    m.set(1, 1, 4.0);

    GeneralMatrix<double> front;
    front.copyFrom(m);
    front.insertRow(0); // r0, r0, r1
    ASSERT_EQ(front.getRows(), 3);
    EXPECT_EQ(front.get(0, 1), 2.0);
    EXPECT_EQ(front.get(1, 1), 2.0);
    EXPECT_EQ(front.get(2, 1), 4.0);

    GeneralMatrix<double> back;
    back.copyFrom(m);
    back.insertRow(2); // r0, r1, 0
    EXPECT_EQ(back.get(1, 0), 3.0);
    EXPECT_EQ(back.get(2, 0), 0.0);

    GeneralMatrix<double> middle;
    middle.copyFrom(m);
    middle.insertRowCopyAbove(1); // r0, r0, r1: the new row copies the one above
    EXPECT_EQ(middle.get(1, 0), 1.0);
    EXPECT_EQ(middle.get(2, 0), 3.0);

    middle.deleteRow(0);
    ASSERT_EQ(middle.getRows(), 2);
    EXPECT_EQ(middle.get(0, 0), 1.0);
    EXPECT_EQ(middle.get(1, 0), 3.0);

    middle.appendRow();
    ASSERT_EQ(middle.getRows(), 3);
    EXPECT_EQ(middle.get(2, 1), 0.0);
    EXPECT_EQ(middle.get(1, 1), 4.0);
}
