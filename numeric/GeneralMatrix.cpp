#include "numeric/GeneralMatrix.h"

#include <algorithm>
#include <utility>

template <typename T>
GeneralMatrix<T>::GeneralMatrix(std::int32_t rowCount, std::int32_t colCount)
{
    resize(rowCount, colCount);
}

template <typename T>
void GeneralMatrix<T>::resize(std::int32_t newRows, std::int32_t newCols)
{
    assert(newRows >= 0 && newCols >= 0);
    const std::int32_t newSize = newRows * newCols;
    // The engine resizes its working matrices to the same shapes on every compute; reusing
    // storage of the right size spares an allocation each time.
    if (newSize > 0 && newSize == size) {
        std::fill_n(data.get(), size, T{});
    } else {
        // Value-initialisation zero-fills (0, 0.0 or nullptr).
        data = newSize > 0 ? std::make_unique<T[]>(static_cast<std::size_t>(newSize)) : nullptr;
    }
    rows = newRows;
    cols = newCols;
    size = newSize;
}

template <typename T>
void GeneralMatrix<T>::copyFrom(const GeneralMatrix& source)
{
    assert(&source != this);
    resize(source.rows, source.cols);
    std::copy_n(source.data.get(), size, data.get());
}

template <typename T>
void GeneralMatrix<T>::transpose(GeneralMatrix& out) const
{
    assert(&out != this);
    out.resize(cols, rows);
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = 0; i < rows; ++i) {
            out.set(j, i, get(i, j));
        }
    }
}

template <typename T>
void GeneralMatrix<T>::deleteRow(std::int32_t index)
{
    assert(index >= 0 && index < rows);
    GeneralMatrix shrunk(rows - 1, cols);
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = 0; i < rows; ++i) {
            if (i != index) {
                shrunk.set(i < index ? i : i - 1, j, get(i, j));
            }
        }
    }
    takeOver(shrunk);
}

template <typename T>
void GeneralMatrix<T>::appendRow()
{
    GeneralMatrix grown(rows + 1, cols);
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = 0; i < rows; ++i) {
            grown.set(i, j, get(i, j));
        }
    }
    takeOver(grown);
}

template <typename T>
void GeneralMatrix<T>::takeOver(GeneralMatrix& other)
{
    data = std::move(other.data);
    rows = std::exchange(other.rows, 0);
    cols = std::exchange(other.cols, 0);
    size = std::exchange(other.size, 0);
}

template class GeneralMatrix<int>;
template class GeneralMatrix<double>;
template class GeneralMatrix<double*>;
