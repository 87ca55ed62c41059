#pragma once

/// How many threads the machine runs at once: the default number of worker threads and
/// engines, and the largest number the preferences offer.
class ProcessorCount {
public:
    virtual ~ProcessorCount() = default;
    /// The number of logical processors; at least 1, so that at least one engine exists.
    virtual int count() const = 0;
};
