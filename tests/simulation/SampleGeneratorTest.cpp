// The sample generator: its Mersenne Twister and polar normal, the random-numbers files,
// the order in which a sample consumes deviates, and how deviates become sample values.

#include "SimulationTestSupport.h"
#include "stats/SampleGenerator.h"
#include "stats/SimulationStatus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// Marsaglia's polar method as published, on the raw outputs of a separately seeded
// std::mt19937: each uniform from two outputs a, b as (a + b·2³²)/2⁶⁴; u = 2U1 - 1,
// v = 2U2 - 1 until s = u² + v² < 1; then u·f and v·f with f = sqrt(-2 ln s / s), in this
// order. Counts the rejected pairs.
std::vector<double> publishedPolarDeviates(std::uint32_t seed, std::size_t count,
                                           int& rejectedPairs)
{
    std::mt19937 raw(seed);
    const auto uniform = [&raw] {
        const double a = raw();
        const double b = raw();
        return (a + b * 4294967296.0) / 18446744073709551616.0;
    };
    std::vector<double> deviates;
    rejectedPairs = 0;
    while (deviates.size() < count) {
        const double u = 2.0 * uniform() - 1.0;
        const double v = 2.0 * uniform() - 1.0;
        const double s = u * u + v * v;
        if (s >= 1.0) {
            ++rejectedPairs;
            continue;
        }
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        deviates.push_back(u * f);
        deviates.push_back(v * f);
    }
    deviates.resize(count);
    return deviates;
}

/// A generator outside an engine, for its random source alone.
struct LooseGenerator {
    explicit LooseGenerator(std::int32_t threadIndex = 0)
        : generator(&sample, &workspace, threadIndex)
    {
    }
    std::vector<double> deviates(std::size_t count)
    {
        std::vector<double> values(count);
        for (double& value : values) {
            EXPECT_TRUE(generator.nextDeviate(value));
        }
        return values;
    }

    LapackWorkspace workspace;
    YMatrix sample{&workspace};
    SampleGenerator generator;
};

// Loads the table with the effect of A, prepares a power simulation (which also computes
// the data correlations of the viewed rows) and gives the generator the population.
void prepare(LoadedEngine& loaded, const DataTable& table, const RealMatrix& means,
             const RealMatrix& sds, const RealMatrix& correlations)
{
    ASSERT_TRUE(loaded.load(table, {0}, {1}));
    SimulationParameters parameters;
    parameters.simulateAlpha = 0;
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    loaded.engine.getGenerator().setPopulation(means, sds, correlations);
}

// Groups of 3 and 4 participants, within A(2); group 2 is shifted so that the groups
// differ. Means 0, SDs 1 and no correlation: the sample values are the deviates themselves.
// View column j is group j mod 2, cell j div 2.
void prepareTwoGroups(LoadedEngine& loaded)
{
    prepare(loaded,
            tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.5, 2.0}, {1, 3.0, 4.5}, {2, 4.0, 3.0},
                             {2, 5.5, 6.0}, {2, 4.5, 3.5}, {2, 7.0, 8.0}}),
            matrixOf({{0, 0}, {0, 0}}), matrixOf({{1, 1}, {1, 1}}), matrixOf({{1, 0}, {0, 1}}));
}

void readFrom(LoadedEngine& loaded, const std::string& path)
{
    loaded.engine.getGenerator().setPreferences(filePreferences({path}));
}

// Adds `added` participants to every group and draws their values from the file.
std::int32_t sampleFrom(LoadedEngine& loaded, const TemporaryFile& file, std::int32_t added)
{
    readFrom(loaded, file.path());
    loaded.engine.addParticipants(added);
    return loaded.engine.getGenerator().generateSample();
}

struct Place {
    std::int32_t row;
    std::int32_t cell;
    double value;
};

void expectPlaces(const YMatrix& y, const std::vector<Place>& places, double tolerance = 0.0)
{
    for (const Place& place : places) {
        EXPECT_NEAR(y.get(place.row, place.cell), place.value, tolerance)
            << "row " << place.row << ", cell " << place.cell;
    }
}

const std::string MISSING = "/nonexistent/tamsel/random.txt";

} // namespace

TEST(SampleGeneratorSeeding, DeviatesFollowThePolarMethodWithItsKeptSecondValue)
{
    // Exact equality: every deviate must come from the same engine outputs in the same
    // order, the second of a pair without advancing the engine.
    int rejectedPairs = 0;
    const std::vector<double> expected = publishedPolarDeviates(7u, 41, rejectedPairs);
    ASSERT_GT(rejectedPairs, 0) << "the sequence should include a rejected pair";
    LooseGenerator loose;
    loose.generator.seed(7u);
    EXPECT_EQ(loose.deviates(41), expected);
}

TEST(SampleGeneratorSeeding, KeptDeviateOutlivesASample)
{
    // A sample of an odd number of values leaves the second deviate of a pair kept; the
    // next sample starts with it, so two samples read one continuous sequence.
    LoadedEngine loaded;
    prepare(loaded, tableOf(1, {1}, {{1, 1.0}, {1, 2.0}, {1, 4.0}}), matrixOf({{0}}),
            matrixOf({{1}}), matrixOf({{1}}));
    loaded.engine.getGenerator().seed(99u);
    int rejectedPairs = 0;
    const std::vector<double> expected = publishedPolarDeviates(99u, 6, rejectedPairs);
    for (int sample = 0; sample < 2; ++sample) {
        loaded.engine.addParticipants(3);
        ASSERT_EQ(loaded.engine.getGenerator().generateSample(), StatusOk);
    }
    const YMatrix& y = loaded.engine.getY();
    ASSERT_EQ(y.getRows(), 9);
    for (std::int32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(y.get(3 + k, 0), expected[static_cast<std::size_t>(k)]) << "value " << k;
    }
}

TEST(RandomNumbersFileReading, UsesTheUserSeparatorAndReadsWholeTokens)
{
    const TemporaryFile file("0,5\t0.5\n-1,25e1  abc 7x\r\n1e999");
    LooseGenerator loose;
    loose.generator.setDecimalSeparator(DecimalSeparator(','));
    loose.generator.setPreferences(filePreferences({file.path()}));
    EXPECT_EQ(loose.deviates(6), (std::vector<double>{0.5, 0.0, -12.5, 0.0, 7.0, HUGE_VAL}));
    double value = 3.0;
    EXPECT_FALSE(loose.generator.nextDeviate(value));
    EXPECT_EQ(value, 3.0);
}

TEST(RandomNumbersFileReading, EachThreadKeepsReadingTheFileOfItsOwnIndex)
{
    // Each run hands the preferences again; a changed path does not reach an open file,
    // which goes on where the last run stopped. Thread 2 has no path to read.
    const TemporaryFile first("1 2");
    const TemporaryFile second("5 6 7 8");
    const TemporaryFile other("9 9");
    LooseGenerator thread1(1);
    LooseGenerator thread2(2);
    thread1.generator.setPreferences(filePreferences({first.path(), second.path()}));
    thread2.generator.setPreferences(filePreferences({first.path(), second.path()}));
    EXPECT_EQ(thread1.deviates(2), (std::vector<double>{5, 6}));
    thread1.generator.setPreferences(filePreferences({first.path(), other.path()}));
    EXPECT_EQ(thread1.deviates(2), (std::vector<double>{7, 8}));
    EXPECT_FALSE(thread2.generator.hasRandomSource());
    double value = 0.0;
    EXPECT_FALSE(thread2.generator.nextDeviate(value));
}

TEST(SampleConsumption, AFileLastsForTheSamplesItHoldsNumbersFor)
{
    // One new participant per group: a sample reads 4 numbers. The sample that runs out
    // leaves its places at the zeros of new rows; a missing file is never read.
    const TemporaryFile full("1 2 3 4");
    const TemporaryFile blank(" \n\t");
    const struct {
        std::string path;
        int completeSamples;
    } cases[] = {{full.path(), 1}, {blank.path(), 0}, {MISSING, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        LoadedEngine loaded;
        prepareTwoGroups(loaded);
        readFrom(loaded, c.path);
        SampleGenerator& generator = loaded.engine.getGenerator();
        EXPECT_EQ(generator.hasRandomSource(), c.path != MISSING);
        for (int s = 0; s < c.completeSamples; ++s) {
            loaded.engine.addParticipants(1);
            ASSERT_EQ(generator.generateSample(), StatusOk);
        }
        loaded.engine.addParticipants(1);
        EXPECT_EQ(generator.generateSample(), StatusRandomNumbersExhausted);
        const std::int32_t s = c.completeSamples;
        expectPlaces(loaded.engine.getY(), {{3 + s, 0, 0.0}, {8 + 2 * s, 1, 0.0}});
    }
}

TEST(SampleValues, FileDeviatesEnterNewRowsUnchangedViewRowByViewRow)
{
    // Two new participants per group read 8 numbers: view row 0 takes the first 4 in view
    // column order, view row 1 the next 4. Group 1's new rows are 3 and 4, group 2's rows 9
    // and 10; rows 0 and 8 are observed participants and stay. No batch standardisation:
    // with means 0, SDs 1 and no correlation the values are the file's numbers, although
    // their batch mean is far from 0.
    const TemporaryFile file("10 20 30 40 50 60 70 80");
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    ASSERT_EQ(sampleFrom(loaded, file, 2), StatusOk);
    ASSERT_EQ(loaded.engine.getGroupStart(), (std::vector<int>{0, 5}));
    expectPlaces(loaded.engine.getY(), {{3, 0, 10}, {9, 0, 20}, {3, 1, 30}, {9, 1, 40},
                                        {4, 0, 50}, {10, 0, 60}, {4, 1, 70}, {10, 1, 80},
                                        {0, 0, 1}, {8, 1, 8}});
}

TEST(SampleValues, CorrelatedThenScaledAndShiftedPerCell)
{
    // Correlation 0.5 between the cells, SDs 1 and 2, means 5 and -3 (group 1) and 1 and 0
    // (group 2). The Cholesky factor of [[1, r], [r, 1]] is [[1, r], [0, sqrt(1 - r²)]], so a
    // participant with deviates (z1, z2) gets (m1 + s1·z1, m2 + s2·(r·z1 + sqrt(1 - r²)·z2)).
    const TemporaryFile file("0.3 -1.2 1.5 0.4 -0.7 2.0 0.1 -0.6");
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    loaded.engine.getGenerator().setPopulation(matrixOf({{5, -3}, {1, 0}}),
                                               matrixOf({{1, 2}, {1, 2}}),
                                               matrixOf({{1, 0.5}, {0.5, 1}}));
    ASSERT_EQ(sampleFrom(loaded, file, 2), StatusOk);
    const double root = std::sqrt(0.75);
    // View row 0: group 1 (0.3, 1.5), group 2 (-1.2, 0.4); view row 1: group 1 (-0.7, 0.1),
    // group 2 (2.0, -0.6).
    expectPlaces(loaded.engine.getY(),
                 {{3, 0, 5.0 + 0.3},
                  {3, 1, -3.0 + 2.0 * (0.5 * 0.3 + root * 1.5)},
                  {9, 0, 1.0 - 1.2},
                  {9, 1, 0.0 + 2.0 * (0.5 * -1.2 + root * 0.4)},
                  {4, 0, 5.0 - 0.7},
                  {4, 1, -3.0 + 2.0 * (0.5 * -0.7 + root * 0.1)},
                  {10, 0, 1.0 + 2.0},
                  {10, 1, 0.0 + 2.0 * (0.5 * 2.0 + root * -0.6)}},
                 1e-14);
}

TEST(SampleValues, OneWithinCellIsDeviateTimesSdPlusMeanAndNeedsNoCorrelations)
{
    // A group of one would make correlations invalid, but a single cell has none.
    const TemporaryFile file("1.5 -2 0.5 4");
    LoadedEngine loaded;
    prepare(loaded, tableOf(1, {1}, {{1, 1.0}, {2, 4.0}, {2, 5.5}}), matrixOf({{10}, {-1}}),
            matrixOf({{3}, {2}}), matrixOf({{1}}));
    EXPECT_TRUE(loaded.engine.getGenerator().getDataCorrelations().isEmpty());
    ASSERT_EQ(sampleFrom(loaded, file, 2), StatusOk);
    // Group 1's new rows are 1 and 2, group 2's rows 5 and 6.
    expectPlaces(loaded.engine.getY(), {{1, 0, 10.0 + 3.0 * 1.5}, {5, 0, -1.0 + 2.0 * -2.0},
                                        {2, 0, 10.0 + 3.0 * 0.5}, {6, 0, -1.0 + 2.0 * 4.0}});
}

TEST(UnequalGroups, DataCorrelationsAreTakenOverEachGroupsOwnRows)
{
    // Group 1's cells (1, 2.5, 3) and (2, 2, 4.5), times 6 and about their means: (-7, 2, 5)
    // and (-5, -5, 10), r = 75 / sqrt(78 · 150). Group 2's cells (4, 5.5, 4.5, 7) and
    // (3, 6, 3.5, 8), times 2 and about their means: (-2.5, 0.5, -1.5, 3.5) and
    // (-4.25, 1.75, -3.25, 5.75), r = 36.5 / sqrt(21 · 64.75).
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    const RealMatrix& r = loaded.engine.getGenerator().getDataCorrelations();
    ASSERT_EQ(r.getRows(), 4);
    const double group1 = 75.0 / std::sqrt(78.0 * 150.0);
    EXPECT_NEAR(r.get(0, 2), group1, 1e-14);
    EXPECT_NEAR(r.get(2, 0), group1, 1e-14);
    EXPECT_NEAR(r.get(1, 3), 36.5 / std::sqrt(21.0 * 64.75), 1e-14);
    EXPECT_EQ(r.get(0, 1), 0.0);
    EXPECT_EQ(r.get(2, 3), 0.0);
    EXPECT_EQ(r.get(1, 1), 1.0);
    EXPECT_TRUE(loaded.engine.getGenerator().areDataCorrelationsValid());
}

TEST(UnequalGroups, GenerationFillsOnlyThePlacesOfParticipants)
{
    // The view of all rows of groups of 3 and 4 has 4 x 4 places; the last of each column
    // of group 1 is empty, so a sample reads 14 numbers, not 16. View row 2 holds group 1's
    // last participant (row 2) and group 2's third (row 5); view row 3 only group 2's last
    // (row 6).
    const TemporaryFile file("1 2 3 4 5 6 7 8 9 10 11 12 13 14");
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    readFrom(loaded, file.path());
    ASSERT_EQ(loaded.engine.getGenerator().generateSample(), StatusOk);
    expectPlaces(loaded.engine.getY(),
                 {{2, 0, 9}, {5, 0, 10}, {2, 1, 11}, {5, 1, 12}, {6, 0, 13}, {6, 1, 14}});
    EXPECT_EQ(loaded.engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
}

TEST(CorrelationValidity, BoundsAndNaN)
{
    EXPECT_TRUE(SampleGenerator::isValidCorrelationMatrix(RealMatrix()));
    EXPECT_TRUE(
        SampleGenerator::isValidCorrelationMatrix(matrixOf({{1.00000000009, -1.00000000009}})));
    EXPECT_FALSE(SampleGenerator::isValidCorrelationMatrix(matrixOf({{1.0000000002}})));
    EXPECT_FALSE(SampleGenerator::isValidCorrelationMatrix(matrixOf({{0.0, -1.0000000002}})));
    EXPECT_FALSE(SampleGenerator::isValidCorrelationMatrix(matrixOf({{0.5, std::nan("")}})));
}
