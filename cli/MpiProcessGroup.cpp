// The processes of an MPI job as the group a simulation is spread over.

#include "cli/LaunchedProcesses.h"

#include <mpi.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <limits>

namespace {

/// MPI counts elements in int; longer arrays go in pieces of this many.
constexpr std::size_t MAX_PIECE = std::numeric_limits<int>::max() / 8;

/// Applies reduce to values in pieces that MPI can count.
template <typename T, typename Reduce>
void inPieces(std::span<T> values, Reduce reduce)
{
    for (std::size_t start = 0; start < values.size(); start += MAX_PIECE) {
        const std::size_t count = std::min(MAX_PIECE, values.size() - start);
        reduce(values.data() + start, static_cast<int>(count));
    }
}

/// MPI_COMM_WORLD of the job. Only the thread that made it calls MPI: the workers of a
/// run never do. MPI's default error handler ends the whole job on a failed call, so no
/// process waits for one that has failed.
class MpiProcessGroup final : public ProcessGroup {
public:
    MpiProcessGroup(int& argc, char**& argv)
    {
        int provided = 0;
        MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
        MPI_Comm_rank(MPI_COMM_WORLD, &ownRank);
        MPI_Comm_size(MPI_COMM_WORLD, &processCount);
    }
    MpiProcessGroup(const MpiProcessGroup&) = delete;
    MpiProcessGroup& operator=(const MpiProcessGroup&) = delete;
    ~MpiProcessGroup() override
    {
        // Ended by an exception, this process may have left the others waiting in a
        // collective operation, where MPI_Finalize would wait for them in turn: end the
        // whole job instead.
        if (std::uncaught_exceptions() > 0)
            MPI_Abort(MPI_COMM_WORLD, 1);
        MPI_Finalize();
    }

    std::int32_t rank() const override { return ownRank; }
    std::int32_t size() const override { return processCount; }

    std::vector<std::int32_t> gather(std::int32_t value) override
    {
        std::vector<std::int32_t> values(static_cast<std::size_t>(processCount));
        MPI_Allgather(&value, 1, MPI_INT32_T, values.data(), 1, MPI_INT32_T, MPI_COMM_WORLD);
        return values;
    }

    void addUp(std::span<std::int64_t> values) override
    {
        inPieces(values, [](std::int64_t* piece, int count) {
            MPI_Allreduce(MPI_IN_PLACE, piece, count, MPI_INT64_T, MPI_SUM, MPI_COMM_WORLD);
        });
    }

    void keepSmallest(std::span<double> values) override
    {
        inPieces(values, [](double* piece, int count) {
            MPI_Allreduce(MPI_IN_PLACE, piece, count, MPI_DOUBLE, MPI_MIN, MPI_COMM_WORLD);
        });
    }

    void broadcast(std::string& bytes, std::int32_t root) override
    {
        std::int64_t length = static_cast<std::int64_t>(bytes.size());
        MPI_Bcast(&length, 1, MPI_INT64_T, root, MPI_COMM_WORLD);
        if (ownRank != root)
            bytes.assign(static_cast<std::size_t>(length), '\0');
        inPieces(std::span(bytes.data(), bytes.size()), [root](char* piece, int count) {
            MPI_Bcast(piece, count, MPI_CHAR, root, MPI_COMM_WORLD);
        });
    }

private:
    int ownRank = 0;
    int processCount = 1;
};

/// Whether a launcher started this process as one of a job: Open MPI's mpirun and
/// PMIx-based launchers set these in every process they start.
bool isLaunched()
{
    return std::getenv("OMPI_COMM_WORLD_SIZE") != nullptr || std::getenv("PMIX_RANK") != nullptr;
}

} // namespace

std::unique_ptr<ProcessGroup> joinLaunchedProcesses(int& argc, char**& argv)
{
    // Started on its own, the program does not touch MPI, which would otherwise start a
    // runtime of its own and may complain about the network.
    if (!isLaunched())
        return nullptr;
    return std::make_unique<MpiProcessGroup>(argc, argv);
}
