#include "numeric/YMatrix.h"

#include <functional>

YMatrix::YMatrix(LapackWorkspace* workspace) : RealMatrix(workspace) {}

YMatrix::YMatrix(std::int32_t rowCount, std::int32_t colCount, LapackWorkspace* workspace)
    : RealMatrix(rowCount, colCount, workspace)
{
}

void YMatrix::createPointers(std::int32_t pointerRowCount, std::int32_t pointerColCount)
{
    if (!pointers) {
        pointers.emplace();
    }
    pointers->resize(pointerRowCount, pointerColCount);
}

bool YMatrix::ownsAddress(const double* p) const
{
    if (size == 0) {
        return false;
    }
    // std::less gives a total order even for pointers into different objects.
    const std::less<const double*> before;
    return !before(p, data.get()) && !before(data.get() + size - 1, p);
}

void YMatrix::copyAndReleasePointers(GeneralMatrix<double>& other, bool toOther,
                                     std::int32_t extraRows)
{
    copy(other, toOther, extraRows);
    releasePointers();
}
