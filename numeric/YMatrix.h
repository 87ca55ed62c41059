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
    std::int32_t pointerCount() const { return pointers->getSize(); }
    void releasePointers() { pointers.reset(); }
    /// True when p lies within this matrix's own storage (first to last element).
    bool ownsAddress(const double* p) const;

    /// copy(other, toOther, extraRows), then releasePointers() on this.
    virtual void copyAndReleasePointers(GeneralMatrix<double>& other, bool toOther,
                                        std::int32_t extraRows);

private:
    std::optional<GeneralMatrix<double*>> pointers;
};
