#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/RunSize.h"
#include "stats/SimulationParameters.h"

#include <cstdint>
#include <vector>

/// The engine's data: the within data Y (N x P), the cell indicator X (N x G) and where each
/// group combination starts, with the pointer view through which the sample generator fills
/// Y, the resizing of the groups during a simulation and the base every pass starts from.
/// Group g holds the rows groupStart[g] .. getGroupEnd(g) - 1 of Y and X.
class Sample {
public:
    /// Its matrices use workspace, which must outlive the sample.
    explicit Sample(LapackWorkspace* workspace);
    Sample(const Sample&) = delete;
    Sample& operator=(const Sample&) = delete;

    /// Copies the data: Y without its element pointers, which point into another's storage.
    void setData(const YMatrix& newY, const RealMatrix& newX,
                 const std::vector<int>& newGroupStart);

    const YMatrix& getY() const { return Y; }
    /// Y for the sample generator, which writes the sample through Y's view. Its address
    /// stays the same for the sample's lifetime.
    YMatrix* getGeneratorTarget() { return &Y; }
    const RealMatrix& getX() const { return X; }
    const std::vector<int>& getGroupStart() const { return groupStart; }
    std::int32_t groupCount() const { return static_cast<std::int32_t>(groupStart.size()); }
    /// The first row after group g.
    std::int32_t getGroupEnd(std::int32_t g) const;
    /// The rows group g holds now (setGroupSize resizes every group).
    std::int32_t getGroupSize(std::int32_t g) const
    {
        return getGroupEnd(g) - groupStart[static_cast<std::size_t>(g)];
    }

    /// Gives Y the pointer view of G·P columns (column j: group j mod G, within combination
    /// j div G) over all rows of every group (lastRows < 0) or their last lastRows rows. A
    /// shorter group leaves empty (null) places below its rows.
    void buildSampleView(std::int32_t lastRows);
    /// Makes every group exactly size rows long: the first rows of a group stay, rows beyond
    /// size are dropped, new rows (zeros in Y, the group's row in X) are appended. Then the
    /// view of all rows.
    void setGroupSize(std::int32_t size);
    /// Appends count rows to every group as setGroupSize does; the view holds exactly the new
    /// rows.
    void addParticipants(std::int32_t count);
    /// Keeps Y (values only), X and groupStart as the base of every pass.
    void saveBase();
    /// Y, X and groupStart := the base; then the view of all rows.
    void restoreBase();
    /// Whether this run has saved a base (since forgetBase).
    bool hasBase() const { return !baseGroupStart.empty(); }
    /// Drops the base, so that a failure before the next saveBase restores nothing.
    void forgetBase() { baseGroupStart.clear(); }
    /// Empties Y and X, when not even the base fits any more; setData gives the sample its
    /// data again.
    void clear();
    /// Whether the design has no group, or a group combination without participants.
    bool hasGroupWithoutParticipants() const;
    /// The smallest group combination, or -1 without groups.
    std::int32_t getSmallestGroupSize() const;
    /// The sizes a run with these parameters reaches, from the design's shapes. A run that
    /// draws summaries keeps the observed rows only, whatever its participants.
    RunSize estimateRunSize(const SimulationParameters& parameters, bool drawsSummaries) const;

private:
    /// Rebuilds Y and X with group g sized[g] rows long (see setGroupSize).
    void resizeGroups(const std::vector<int>& sizes);

    YMatrix Y;
    RealMatrix X;
    std::vector<int> groupStart;
    // The base of every pass: Y, X and groupStart at the start of the run.
    RealMatrix baseY;
    RealMatrix baseX;
    std::vector<int> baseGroupStart;
    // Y and X while groups are resized; exchanged with Y and X afterwards.
    YMatrix regroupedY;
    RealMatrix regroupedX;
};
