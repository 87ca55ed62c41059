// The sample of a simulation inside the engine: its pointer view, resized groups, added
// participants and the base that every pass starts from.

#include "SimulationTestSupport.h"
#include "stats/SimulationStatus.h"

#include <gtest/gtest.h>

namespace {

// Groups of 3 and 7 participants, within A(2), the effect of group x A; every value is
// 10·row + cell, so a value tells where it came from.
class GroupsOfThreeAndSeven : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::vector<double>> rows;
        for (int r = 0; r < 10; ++r) {
            rows.push_back({r < 3 ? 1.0 : 2.0, 10.0 * r + 1.0, 10.0 * r + 2.0});
        }
        ASSERT_TRUE(loaded.load(tableOf(1, {2}, rows), {1}, {1}));
    }

    // Every row of X marks the group that its row number falls in.
    void expectGroupRows(std::int32_t secondGroupStart)
    {
        const RealMatrix& x = engine.getX();
        for (std::int32_t r = 0; r < x.getRows(); ++r) {
            const std::int32_t g = r < secondGroupStart ? 0 : 1;
            EXPECT_TRUE(x.get(r, g) == 1.0 && x.get(r, 1 - g) == 0.0) << "row " << r;
        }
    }

    LoadedEngine loaded;
    Anova& engine = loaded.engine;
};

} // namespace

TEST_F(GroupsOfThreeAndSeven, SetGroupSizeGrowsTheShortGroupAndCutsTheLongOne)
{
    engine.setGroupSize(5);
    const YMatrix& y = engine.getY();
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0, 5}));
    ASSERT_EQ(y.getRows(), 10);
    ASSERT_EQ(engine.getX().getRows(), 10);
    // Group 1 keeps its three rows and gets two new ones (zeros until a sample is drawn);
    // group 2 keeps its first five rows (table rows 3 .. 7).
    for (std::int32_t r = 0; r < 3; ++r) {
        EXPECT_EQ(y.get(r, 0), 10.0 * r + 1.0) << "row " << r;
    }
    EXPECT_EQ(y.get(3, 0), 0.0);
    EXPECT_EQ(y.get(4, 1), 0.0);
    for (std::int32_t r = 5; r < 10; ++r) {
        EXPECT_EQ(y.get(r, 1), 10.0 * (r - 2) + 2.0) << "row " << r;
    }
    expectGroupRows(5);
    // The view holds every row: five rows, no empty place.
    ASSERT_EQ(y.pointerRows(), 5);
    ASSERT_EQ(y.pointerCols(), 4);
    for (std::int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(y.getPointer(i, 0), &y.at(i, 0));
        EXPECT_EQ(y.getPointer(i, 3), &y.at(5 + i, 1));
    }
}

TEST(SetGroupSize, EqualSizeChangesNothing)
{
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(tableOf(1, {2}, normalRows({2}, {4, 4}, 2, 5u)), {1}, {1}));
    RealMatrix before(nullptr);
    before.copyFrom(loaded.engine.getY());
    loaded.engine.setGroupSize(4);
    EXPECT_EQ(loaded.engine.getGroupStart(), (std::vector<int>{0, 4}));
    EXPECT_TRUE(sameMatrix(loaded.engine.getY(), before));
}

TEST_F(GroupsOfThreeAndSeven, AddParticipantsAppendsToEveryGroupAndViewsOnlyTheNewRows)
{
    engine.addParticipants(2);
    const YMatrix& y = engine.getY();
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0, 5}));
    ASSERT_EQ(y.getRows(), 14);
    EXPECT_EQ(y.get(2, 0), 21.0);
    EXPECT_EQ(y.get(5, 0), 31.0);
    EXPECT_EQ(y.get(11, 1), 92.0);
    expectGroupRows(5);
    ASSERT_EQ(y.pointerRows(), 2);
    ASSERT_EQ(y.pointerCols(), 4);
    for (std::int32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(y.getPointer(i, 0), &y.at(3 + i, 0));
        EXPECT_EQ(y.getPointer(i, 1), &y.at(12 + i, 0));
        EXPECT_EQ(y.getPointer(i, 2), &y.at(3 + i, 1));
        EXPECT_EQ(y.getPointer(i, 3), &y.at(12 + i, 1));
    }
    // A second inspection adds to what the first added.
    engine.addParticipants(3);
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0, 8}));
    EXPECT_EQ(engine.getY().getRows(), 20);
    EXPECT_EQ(engine.getY().getPointer(0, 1), &engine.getY().at(17, 0));
}

TEST_F(GroupsOfThreeAndSeven, AddingNoneGivesAnEmptyViewThatASampleLeavesAlone)
{
    ASSERT_TRUE(engine.prepareSimulation(SimulationParameters()));
    engine.getGenerator().setPopulation(matrixOf({{0, 0}, {0, 0}}), matrixOf({{1, 1}, {1, 1}}),
                                        matrixOf({{1, 0}, {0, 1}}));
    RealMatrix before(nullptr);
    before.copyFrom(engine.getY());
    engine.addParticipants(0);
    EXPECT_EQ(engine.getY().pointerRows(), 0);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusOk);
    EXPECT_TRUE(sameMatrix(engine.getY(), before));
}

TEST_F(GroupsOfThreeAndSeven, RestoreBaseBringsBackYXCovarianceAndGroups)
{
    ASSERT_TRUE(engine.compute());
    RealMatrix y(nullptr);
    y.copyFrom(engine.getY());
    RealMatrix covariance(nullptr);
    covariance.copyFrom(engine.getErrorCovariance());
    engine.saveBase();
    engine.setGroupSize(2);
    engine.addParticipants(4);
    ASSERT_TRUE(engine.compute());
    engine.restoreBase();
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0, 3}));
    EXPECT_TRUE(sameMatrix(engine.getY(), y));
    ASSERT_EQ(engine.getX().getRows(), 10);
    expectGroupRows(3);
    EXPECT_TRUE(sameMatrix(engine.getErrorCovariance(), covariance));
    // The view of all rows points into the restored Y.
    EXPECT_EQ(engine.getY().pointerRows(), 7);
    EXPECT_EQ(engine.getY().getPointer(6, 3), &engine.getY().at(9, 1));
    EXPECT_EQ(engine.getY().getPointer(3, 0), nullptr);
}
