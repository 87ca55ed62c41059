#include "desktop/platform/QtProcessorCount.h"

#include <QThread>

#include <algorithm>

int QtProcessorCount::count() const
{
    // idealThreadCount gives 1 when the platform cannot tell; the floor guards a future
    // change of that, since without a processor no engine would exist.
    return std::max(1, QThread::idealThreadCount());
}
