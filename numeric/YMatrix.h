#pragma once

#include "RealMatrix.h"

#include <cstdint>
#include <optional>

/// The dependent-variable matrix: a RealMatrix that can also carry a matrix of pointers
/// to doubles (normally into its own storage), through which the sample generation reads
/// and writes a view of the sample. The pointers become invalid whenever this matrix is
/// resized.
class YMatrix : public RealMatrix {
public:
    YMatrix() = default;
    explicit YMatrix(LapackWorkspace* workspace);
    YMatrix(std::int32_t rows, std::int32_t cols, LapackWorkspace* workspace);

    /// Creates the pointer matrix if needed and resizes it to rows x cols null pointers.
    void createPointers(std::int32_t rows, std::int32_t cols);
    void setPointer(std::int32_t i, std::int32_t j, double* p) { pointers->set(i, j, p); }
    double* getPointer(std::int32_t i, std::int32_t j) const { return pointers->get(i, j); }
    double getThroughPointer(std::int32_t i, std::int32_t j) const { return *pointers->get(i, j); }
    void setThroughPointer(std::int32_t i, std::int32_t j, double v) { *pointers->get(i, j) = v; }
    bool hasPointers() const { return pointers.has_value(); }
    std::int32_t pointerRows() const { return pointers->getRows(); }
    std::int32_t pointerCols() const { return pointers->getCols(); }
    void releasePointers() { pointers.reset(); }

private:
    std::optional<GeneralMatrix<double*>> pointers;
};
