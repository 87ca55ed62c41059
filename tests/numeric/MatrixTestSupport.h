#pragma once

#include "numeric/RealMatrix.h"

#include <gtest/gtest.h>

#include <initializer_list>

/// A matrix from rows written as they read on paper.
inline RealMatrix matrixOf(std::initializer_list<std::initializer_list<double>> rowList,
                           LapackWorkspace* workspace)
{
    const auto rowCount = static_cast<std::int32_t>(rowList.size());
    const auto colCount = rowCount == 0 ? 0 : static_cast<std::int32_t>(rowList.begin()->size());
    RealMatrix result(rowCount, colCount, workspace);
    std::int32_t i = 0;
    for (const auto& row : rowList) {
        std::int32_t j = 0;
        for (double value : row) {
            result.set(i, j++, value);
        }
        ++i;
    }
    return result;
}

/// Element-wise comparison with an absolute tolerance; reports the first differing element.
inline ::testing::AssertionResult matricesNear(const RealMatrix& actual, const RealMatrix& expected,
                                               double tolerance)
{
    if (actual.getRows() != expected.getRows() || actual.getCols() != expected.getCols()) {
        return ::testing::AssertionFailure()
               << "shape " << actual.getRows() << "x" << actual.getCols() << ", expected "
               << expected.getRows() << "x" << expected.getCols();
    }
    for (std::int32_t j = 0; j < actual.getCols(); ++j) {
        for (std::int32_t i = 0; i < actual.getRows(); ++i) {
            const double difference = actual.get(i, j) - expected.get(i, j);
            if (!(std::abs(difference) <= tolerance)) {
                return ::testing::AssertionFailure()
                       << "element (" << i << ", " << j << ") is " << actual.get(i, j)
                       << ", expected " << expected.get(i, j);
            }
        }
    }
    return ::testing::AssertionSuccess();
}
