#include "numeric/LapackWorkspace.h"

// `new double[]` leaves the elements uninitialised, so no page of the 40 MB array is
// written here; the allocator hands out fresh anonymous pages for a block of this size,
// and the kernel maps them only when LAPACK first touches them.
LapackWorkspace::LapackWorkspace() : buffer(new double[LENGTH]) {}
