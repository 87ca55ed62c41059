#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// The processes one simulation run is spread over, on one machine or several, each with
/// its own engines and threads. Every process runs its share of the blocks of a phase, and
/// after each round they combine their counts, so that every process knows the whole
/// run's counts and takes the same decisions.
///
/// Every operation is collective: all processes of the group call it, in the same order
/// and with values of the same size, and none returns before all have called it. Process 0
/// speaks for the run: it shows the run's messages.
class ProcessGroup {
public:
    virtual ~ProcessGroup() = default;

    /// This process's number, 0 ... size() - 1.
    virtual std::int32_t rank() const = 0;
    virtual std::int32_t size() const = 0;
    /// Every process's value, in rank order.
    virtual std::vector<std::int32_t> gather(std::int32_t value) = 0;
    /// values becomes the element-wise sum over the processes.
    virtual void addUp(std::span<std::int64_t> values) = 0;
    /// values becomes the element-wise minimum over the processes.
    virtual void keepSmallest(std::span<double> values) = 0;
    /// bytes becomes process root's bytes on every process; root's stay where they are.
    virtual void broadcast(std::string& bytes, std::int32_t root) = 0;
};

/// A run in this process alone: every combination leaves the values as they are.
class SingleProcess final : public ProcessGroup {
public:
    std::int32_t rank() const override { return 0; }
    std::int32_t size() const override { return 1; }
    std::vector<std::int32_t> gather(std::int32_t value) override { return {value}; }
    void addUp(std::span<std::int64_t> /*values*/) override {}
    void keepSmallest(std::span<double> /*values*/) override {}
    void broadcast(std::string& /*bytes*/, std::int32_t /*root*/) override {}
};
