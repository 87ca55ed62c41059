#include "numeric/YMatrix.h"

YMatrix::YMatrix(LapackWorkspace* workspace) : RealMatrix(workspace)
{
}

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
