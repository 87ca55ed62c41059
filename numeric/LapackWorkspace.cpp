#include "numeric/LapackWorkspace.h"

double* LapackWorkspace::reserve(std::size_t count)
{
    if (count > length) {
        // The old contents are scratch; releasing first keeps the peak at the new size.
        buffer.reset();
        buffer.reset(new double[count]);
        length = count;
    }
    return buffer.get();
}
