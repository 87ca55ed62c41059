#pragma once

#include "design/GroupVariable.h"
#include "numeric/GeneralMatrix.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

/// The repeated-measures design read from the two input tables: group variables formed
/// from the "between" columns, participants regrouped by group combination, the cell
/// indicator X (N x G), the within data Y (N x P, columns in within-combination order) and,
/// per effect, the hypothesis matrix C (q x G) and the transformation matrix M (P x t).
///
/// Cells are ordered like levelCombinations (last variable fastest) on both sides, which
/// is also the order in which the Kronecker products of C and M enumerate them.
class Design {
public:
    Design();
    Design(const Design&) = delete;
    Design& operator=(const Design&) = delete;

    /// Copies the inputs and builds groups, regrouped data, X and Y. columnLevels holds,
    /// per non-"between" column in table order, its parsed combination label as a column.
    /// Returns false, and leaves the design as it was, when there is no participant, a
    /// within variable has fewer than one level, or the labels do not name every within
    /// combination exactly once (the table checks do not compare labels with the offered
    /// ones). A combination count beyond the int range throws std::bad_alloc.
    bool build(const RealMatrix& rawData, const std::vector<std::string>& columnNames,
               const std::set<int>& betweenColumns, const std::vector<std::string>& withinNames,
               const std::vector<int>& withinLevels, const GeneralMatrix<int>& columnLevels);

    /// Stores the 0/1 flags of one effect and forms C and M. An empty list of between
    /// flags counts as (1). Requires a successful build; one flag per variable.
    void setEffect(const std::vector<int>& betweenFlags, const std::vector<int>& withinFlags);

    const YMatrix& getY() const { return Y; }
    const RealMatrix& getX() const { return X; }
    const RealMatrix& getC() const { return C; }
    const RealMatrix& getM() const { return M; }
    const std::vector<int>& getGroupStart() const { return groupStart; }
    const std::vector<int>& getBetweenLevels() const { return betweenLevels; }
    const std::vector<int>& getWithinLevels() const { return withinLevels; }
    const GeneralMatrix<int>& getBetweenCombinations() const { return betweenCombinations; }
    const GeneralMatrix<int>& getWithinCombinations() const { return withinCombinations; }
    std::int32_t getBetweenCount() const { return betweenCount; }
    std::int32_t getWithinCount() const { return withinCount; }
    const std::vector<std::unique_ptr<GroupVariable>>& getGroups() const { return groups; }
    const std::vector<std::string>& getWithinNames() const { return withinNames; }
    const std::vector<int>& getEffectBetween() const { return effectBetween; }
    const std::vector<int>& getEffectWithin() const { return effectWithin; }
    /// The workspace that every matrix of the design uses.
    const LapackWorkspace* getWorkspace() const { return &lapack; }
    const RealMatrix& getSortedData() const { return sortedData; }
    const RealMatrix& getWithinData() const { return withinData; }

private:
    void copyInputs(const RealMatrix& newRawData, const std::vector<std::string>& newColumnNames,
                    const std::set<int>& newBetweenColumns,
                    const std::vector<std::string>& newWithinNames,
                    const std::vector<int>& newWithinLevels,
                    const GeneralMatrix<int>& newColumnLevels);
    void formGroups();
    void enumerateCombinations();
    /// Whether row r of rawData belongs to group combination g.
    bool belongsToCombination(std::int32_t g, std::int32_t r) const;
    void regroupParticipants();
    void extractWithinData();
    void arrangeWithinColumns();
    /// Kronecker product over the variables of their factor matrices (orthonormal contrasts
    /// for a flagged variable with more than one level, the averaging row otherwise).
    void effectMatrix(const std::vector<int>& levels, const std::vector<int>& flags,
                      RealMatrix& out);

    LapackWorkspace lapack;
    RealMatrix rawData;
    std::vector<std::string> columnNames;
    std::set<int> betweenColumns;
    std::vector<int> effectBetween;
    std::vector<std::string> withinNames;
    std::vector<int> withinLevels;
    GeneralMatrix<int> columnLevels;
    std::vector<int> effectWithin;
    RealMatrix X;
    YMatrix Y;
    RealMatrix C;
    RealMatrix M;
    std::int32_t betweenCount = -99;
    std::int32_t withinCount = -99;
    std::vector<int> betweenLevels;
    std::vector<std::unique_ptr<GroupVariable>> groups;
    GeneralMatrix<int> betweenCombinations;
    GeneralMatrix<int> withinCombinations;
    RealMatrix sortedData;
    std::vector<int> groupStart;
    RealMatrix withinData;
};
