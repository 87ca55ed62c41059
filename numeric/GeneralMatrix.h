#pragma once

#include <cassert>
#include <cstdint>
#include <memory>

/// Dense column-major matrix: element (i, j) is data[rows * j + i], the layout LAPACK
/// expects with leading dimension `rows`. Instantiated for int, double and double*.
///
/// No operation checks indices or the conformity of shapes in a release build; callers
/// respect them, and debug builds assert them. Every operation that changes the shape may
/// replace the storage, so pointers into the old storage become invalid.
///
/// The destructor is deliberately not virtual: matrices are always destroyed through
/// their own type.
template <typename T>
class GeneralMatrix {
public:
    GeneralMatrix() = default;
    /// rows x cols, zero-filled.
    GeneralMatrix(std::int32_t rows, std::int32_t cols);
    GeneralMatrix(const GeneralMatrix&) = delete;
    GeneralMatrix& operator=(const GeneralMatrix&) = delete;
    GeneralMatrix(GeneralMatrix&&) noexcept = default;
    GeneralMatrix& operator=(GeneralMatrix&&) noexcept = default;
    ~GeneralMatrix() = default;

    /// Makes the matrix rows x cols zeros (in the same storage when the element count is
    /// unchanged).
    void resize(std::int32_t newRows, std::int32_t newCols);

    T get(std::int32_t i, std::int32_t j) const { return data[index(i, j)]; }
    void set(std::int32_t i, std::int32_t j, T value) { data[index(i, j)] = value; }
    T& at(std::int32_t i, std::int32_t j) { return data[index(i, j)]; }
    const T& at(std::int32_t i, std::int32_t j) const { return data[index(i, j)]; }

    T* dataPointer() { return data.get(); }
    const T* dataPointer() const { return data.get(); }
    std::int32_t getRows() const { return rows; }
    std::int32_t getCols() const { return cols; }
    std::int32_t getSize() const { return size; }
    bool isEmpty() const { return size == 0; }

    /// This becomes a copy of source, shape and elements.
    void copyFrom(const GeneralMatrix& source);

    /// out becomes cols x rows with out(j, i) = this(i, j).
    void transpose(GeneralMatrix& out) const;

    void deleteRow(std::int32_t index);
    /// Appends one zero row.
    void appendRow();

protected:
    std::int32_t index(std::int32_t i, std::int32_t j) const
    {
        assert(i >= 0 && i < rows);
        assert(j >= 0 && j < cols);
        return rows * j + i;
    }
    /// Takes over other's storage and shape; other becomes 0 x 0.
    void takeOver(GeneralMatrix& other);

    std::unique_ptr<T[]> data;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::int32_t size = 0;
};

extern template class GeneralMatrix<int>;
extern template class GeneralMatrix<double>;
extern template class GeneralMatrix<double*>;
