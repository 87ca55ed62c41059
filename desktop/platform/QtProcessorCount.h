#pragma once

#include "platform/ProcessorCount.h"

/// The logical processors the process may run on, as Qt reports them.
class QtProcessorCount : public ProcessorCount {
public:
    /// QThread::idealThreadCount, or 1 when it cannot tell.
    int count() const override;
};
