// The sample generator: its Mersenne Twister and polar normal, the random-numbers files,
// the order in which a sample consumes deviates, and how deviates become sample values.

#include "SimulationTestSupport.h"
#include "stats/PolarNormal.h"
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

std::vector<double> deviatesOf(SampleGenerator& generator, std::size_t count)
{
    std::vector<double> deviates(count);
    for (double& deviate : deviates) {
        EXPECT_TRUE(generator.nextDeviate(deviate));
    }
    return deviates;
}

// Two groups of 3 and 4 participants, within A(2); group 2 is shifted so that the groups
// differ. The data only serve as the base to which participants are added.
DataTable twoGroupTable()
{
    return tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.5, 2.0}, {1, 3.0, 4.5},
                            {2, 4.0, 3.0}, {2, 5.5, 6.0}, {2, 4.5, 3.5}, {2, 7.0, 8.0}});
}

// Loads the table with the effect of A, prepares a power simulation (which also computes
// the data correlations of the viewed rows) and gives the generator the population.
void prepareEngine(const DataTable& table, Design& design, Anova& engine, const RealMatrix& means,
                   const RealMatrix& sds, const RealMatrix& correlations)
{
    ASSERT_TRUE(loadSimulationEffect(table, {0}, {1}, design, engine));
    SimulationParameters parameters;
    parameters.simulateAlpha = 0;
    ASSERT_TRUE(engine.prepareSimulation(parameters));
    engine.getGenerator().setPopulation(means, sds, correlations);
}

// Means 0, SDs 1 and no correlation: the sample values are the deviates themselves.
void prepareStandardPopulation(const DataTable& table, Design& design, Anova& engine)
{
    prepareEngine(table, design, engine, matrixOf({{0, 0}, {0, 0}}), matrixOf({{1, 1}, {1, 1}}),
                  matrixOf({{1, 0}, {0, 1}}));
}

} // namespace

TEST(SampleGeneratorSeeding, EqualSeedsGiveEqualSequences)
{
    LapackWorkspace workspace;
    YMatrix sample(&workspace);
    SampleGenerator first(&sample, &workspace, 0);
    SampleGenerator second(&sample, &workspace, 1);
    SampleGenerator other(&sample, &workspace, 2);
    first.seed(20240601u);
    second.seed(20240601u);
    other.seed(20240602u);
    const std::vector<double> expected = deviatesOf(first, 1000);
    EXPECT_EQ(deviatesOf(second, 1000), expected);
    EXPECT_NE(deviatesOf(other, 1000), expected);
}

TEST(SampleGeneratorSeeding, DeviatesFollowThePolarMethodWithItsKeptSecondValue)
{
    // Exact equality: every deviate must come from the same engine outputs in the same
    // order, the second of a pair without advancing the engine.
    constexpr std::uint32_t seed = 7u;
    int rejectedPairs = 0;
    const std::vector<double> expected = publishedPolarDeviates(seed, 41, rejectedPairs);
    ASSERT_GT(rejectedPairs, 0) << "the sequence should include a rejected pair";
    LapackWorkspace workspace;
    YMatrix sample(&workspace);
    SampleGenerator generator(&sample, &workspace, 0);
    generator.seed(seed);
    EXPECT_EQ(deviatesOf(generator, 41), expected);
}

TEST(SampleGeneratorSeeding, KeptDeviateOutlivesASample)
{
    // A sample of an odd number of values leaves the second deviate of a pair kept; the
    // next sample starts with it, so two samples read one continuous sequence.
    Design design;
    Anova engine(0);
    prepareEngine(tableOf(1, {1}, {{1, 1.0}, {1, 2.0}, {1, 4.0}}), design, engine,
                  matrixOf({{0}}), matrixOf({{1}}), matrixOf({{1}}));
    engine.getGenerator().seed(99u);
    int rejectedPairs = 0;
    const std::vector<double> expected = publishedPolarDeviates(99u, 6, rejectedPairs);
    engine.addParticipants(3);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    engine.addParticipants(3);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    const YMatrix& y = engine.getY();
    ASSERT_EQ(y.getRows(), 9);
    for (std::int32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(y.get(3 + k, 0), expected[static_cast<std::size_t>(k)]) << "value " << k;
    }
}

TEST(PolarNormal, DeviatesHaveMeanZeroAndVarianceOne)
{
    // 100000 deviates: the mean has SD 1/sqrt(n), the variance sqrt(2/n), the share inside
    // ±1.959964 is 0.95 with SD sqrt(0.95·0.05/n); all within four SDs.
    std::mt19937 engine(12345u);
    PolarNormal normal;
    constexpr int n = 100000;
    double sum = 0.0;
    double squares = 0.0;
    int inside = 0;
    for (int k = 0; k < n; ++k) {
        const double z = normal(engine);
        sum += z;
        squares += z * z;
        inside += std::fabs(z) < 1.959964 ? 1 : 0;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 4.0 / std::sqrt(n));
    EXPECT_NEAR(squares / n - mean * mean, 1.0, 4.0 * std::sqrt(2.0 / n));
    EXPECT_NEAR(static_cast<double>(inside) / n, 0.95, 4.0 * binomialSigma(0.95, n));
}

TEST(RandomNumbersFileReading, UsesTheUserSeparatorAndReadsWholeTokens)
{
    const TemporaryFile file("0,5\t0.5\n-1,25e1  abc 7x\r\n1e999");
    LapackWorkspace workspace;
    YMatrix sample(&workspace);
    SampleGenerator generator(&sample, &workspace, 0);
    generator.setDecimalSeparator(DecimalSeparator(','));
    generator.setPreferences(filePreferences({file.path()}));
    const std::vector<double> expected = {0.5, 0.0, -12.5, 0.0, 7.0, HUGE_VAL};
    EXPECT_EQ(deviatesOf(generator, expected.size()), expected);
    double value = 3.0;
    EXPECT_FALSE(generator.nextDeviate(value));
    EXPECT_EQ(value, 3.0);
}

TEST(RandomNumbersFileReading, ANewRunGoesOnWhereTheLastStoppedAndKeepsItsFile)
{
    const TemporaryFile first("1 2 3 4");
    const TemporaryFile second("9 9 9 9");
    LapackWorkspace workspace;
    YMatrix sample(&workspace);
    SampleGenerator generator(&sample, &workspace, 0);
    generator.setPreferences(filePreferences({first.path()}));
    EXPECT_EQ(deviatesOf(generator, 2), (std::vector<double>{1, 2}));
    // Each run hands the preferences again, here with another path.
    generator.setPreferences(filePreferences({second.path()}));
    EXPECT_EQ(deviatesOf(generator, 2), (std::vector<double>{3, 4}));
}

TEST(RandomNumbersFileReading, EachThreadReadsItsOwnPath)
{
    const TemporaryFile first("1 2");
    const TemporaryFile second("5 6");
    LapackWorkspace workspace;
    YMatrix sample(&workspace);
    SampleGenerator thread1(&sample, &workspace, 1);
    SampleGenerator thread2(&sample, &workspace, 2);
    thread1.setPreferences(filePreferences({first.path(), second.path()}));
    thread2.setPreferences(filePreferences({first.path(), second.path()}));
    EXPECT_EQ(deviatesOf(thread1, 2), (std::vector<double>{5, 6}));
    // Fewer paths than threads: there is no file for thread 2 to read.
    EXPECT_FALSE(thread2.hasRandomSource());
    double value = 0.0;
    EXPECT_FALSE(thread2.nextDeviate(value));
}

TEST(SampleConsumption, ViewRowByViewRowInViewColumnOrder)
{
    // Two groups, two within cells: view column j is group j mod 2, cell j div 2. Two new
    // participants per group read 8 numbers: view row 0 takes 1..4, view row 1 takes 5..8.
    const TemporaryFile file("1 2 3 4 5 6 7 8");
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.addParticipants(2);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    const YMatrix& y = engine.getY();
    ASSERT_EQ(engine.getGroupStart(), (std::vector<int>{0, 5}));
    // Group 1's new rows are 3 and 4, group 2's rows 9 and 10.
    EXPECT_EQ(y.get(3, 0), 1.0);
    EXPECT_EQ(y.get(9, 0), 2.0);
    EXPECT_EQ(y.get(3, 1), 3.0);
    EXPECT_EQ(y.get(9, 1), 4.0);
    EXPECT_EQ(y.get(4, 0), 5.0);
    EXPECT_EQ(y.get(10, 0), 6.0);
    EXPECT_EQ(y.get(4, 1), 7.0);
    EXPECT_EQ(y.get(10, 1), 8.0);
    // The observed participants are untouched.
    EXPECT_EQ(y.get(0, 0), 1.0);
    EXPECT_EQ(y.get(8, 1), 8.0);
}

TEST(SampleConsumption, ExactlyOneSampleOfNumbersThenExhausted)
{
    const TemporaryFile file("1 2 3 4");
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.addParticipants(1);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    engine.addParticipants(1);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
    // Nothing was read into the second sample's rows (rows 4 and 10 hold the zeros of new
    // rows).
    EXPECT_EQ(engine.getY().get(4, 0), 0.0);
    EXPECT_EQ(engine.getY().get(10, 1), 0.0);
}

TEST(SampleConsumption, AnEmptyFileIsExhaustedAtOnce)
{
    const TemporaryFile file(" \n\t");
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.addParticipants(1);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
}

TEST(SampleConsumption, AMissingFileIsNeverRead)
{
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({"/nonexistent/tamsel/random.txt"}));
    EXPECT_FALSE(engine.getGenerator().hasRandomSource());
    engine.addParticipants(1);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getY().get(3, 0), 0.0);
}

TEST(SampleValues, FileDeviatesEnterUnchangedWithoutCorrelation)
{
    // No batch standardisation: with means 0, SDs 1 and the identity as correlations the
    // values are the file's numbers, although their batch mean is far from 0.
    const TemporaryFile file("10 20 30 40 50 60 70 80");
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.setGroupSize(2);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    const YMatrix& y = engine.getY();
    EXPECT_EQ(y.get(0, 0), 10.0);
    EXPECT_EQ(y.get(2, 0), 20.0);
    EXPECT_EQ(y.get(0, 1), 30.0);
    EXPECT_EQ(y.get(3, 1), 80.0);
}

TEST(SampleValues, CorrelatedThenScaledAndShiftedPerCell)
{
    // Correlation 0.5 between the cells, SDs 1 and 2, means 5 and -3 (group 1) and 1 and 0
    // (group 2). The Cholesky factor of [[1, r], [r, 1]] is [[1, r], [0, sqrt(1 - r²)]], so a
    // participant with deviates (z1, z2) gets (m1 + s1·z1, m2 + s2·(r·z1 + sqrt(1 - r²)·z2)).
    const TemporaryFile file("0.3 -1.2 1.5 0.4 -0.7 2.0 0.1 -0.6");
    Design design;
    Anova engine(0);
    prepareEngine(twoGroupTable(), design, engine, matrixOf({{5, -3}, {1, 0}}),
                  matrixOf({{1, 2}, {1, 2}}), matrixOf({{1, 0.5}, {0.5, 1}}));
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.addParticipants(2);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    const double root = std::sqrt(0.75);
    const YMatrix& y = engine.getY();
    // View row 0: group 1 (0.3, 1.5), group 2 (-1.2, 0.4); view row 1: group 1 (-0.7, 0.1),
    // group 2 (2.0, -0.6).
    EXPECT_NEAR(y.get(3, 0), 5.0 + 0.3, 1e-14);
    EXPECT_NEAR(y.get(3, 1), -3.0 + 2.0 * (0.5 * 0.3 + root * 1.5), 1e-14);
    EXPECT_NEAR(y.get(9, 0), 1.0 - 1.2, 1e-14);
    EXPECT_NEAR(y.get(9, 1), 0.0 + 2.0 * (0.5 * -1.2 + root * 0.4), 1e-14);
    EXPECT_NEAR(y.get(4, 0), 5.0 - 0.7, 1e-14);
    EXPECT_NEAR(y.get(4, 1), -3.0 + 2.0 * (0.5 * -0.7 + root * 0.1), 1e-14);
    EXPECT_NEAR(y.get(10, 0), 1.0 + 2.0, 1e-14);
    EXPECT_NEAR(y.get(10, 1), 0.0 + 2.0 * (0.5 * 2.0 + root * -0.6), 1e-14);
}

TEST(SampleValues, OneWithinCellIsDeviateTimesSdPlusMean)
{
    const TemporaryFile file("1.5 -2");
    Design design;
    Anova engine(0);
    prepareEngine(tableOf(1, {1}, {{1, 1.0}, {1, 2.0}, {1, 4.0}}), design, engine,
                  matrixOf({{10}}), matrixOf({{3}}), matrixOf({{1}}));
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    engine.addParticipants(2);
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    EXPECT_EQ(engine.getY().get(3, 0), 10.0 + 3.0 * 1.5);
    EXPECT_EQ(engine.getY().get(4, 0), 10.0 - 3.0 * 2.0);
}

TEST(UnequalGroups, ViewHasEmptyPlacesBelowTheShorterGroup)
{
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    const YMatrix& y = engine.getY();
    ASSERT_EQ(y.pointerRows(), 4);
    ASSERT_EQ(y.pointerCols(), 4);
    for (std::int32_t j : {0, 2}) {
        EXPECT_EQ(y.getPointer(2, j), &y.at(2, j / 2)) << "column " << j;
        EXPECT_EQ(y.getPointer(3, j), nullptr) << "column " << j;
    }
    for (std::int32_t j : {1, 3}) {
        EXPECT_EQ(y.getPointer(3, j), &y.at(6, j / 2)) << "column " << j;
    }
}

TEST(UnequalGroups, DataCorrelationsAreTakenOverEachGroupsOwnRows)
{
    // Pearson correlations of the two cells within each group, by the textbook formula on
    // the table's numbers: group 1 over its 3 rows, group 2 over its 4.
    const auto pearson = [](const std::vector<double>& a, const std::vector<double>& b) {
        const auto n = static_cast<double>(a.size());
        double ma = 0.0;
        double mb = 0.0;
        for (std::size_t k = 0; k < a.size(); ++k) {
            ma += a[k] / n;
            mb += b[k] / n;
        }
        double sab = 0.0;
        double saa = 0.0;
        double sbb = 0.0;
        for (std::size_t k = 0; k < a.size(); ++k) {
            sab += (a[k] - ma) * (b[k] - mb);
            saa += (a[k] - ma) * (a[k] - ma);
            sbb += (b[k] - mb) * (b[k] - mb);
        }
        return sab / std::sqrt(saa * sbb);
    };
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    const RealMatrix& r = engine.getGenerator().getDataCorrelations();
    ASSERT_EQ(r.getRows(), 4);
    const double group1 = pearson({1.0, 2.5, 3.0}, {2.0, 2.0, 4.5});
    const double group2 = pearson({4.0, 5.5, 4.5, 7.0}, {3.0, 6.0, 3.5, 8.0});
    EXPECT_NEAR(r.get(0, 2), group1, 1e-14);
    EXPECT_NEAR(r.get(2, 0), group1, 1e-14);
    EXPECT_NEAR(r.get(1, 3), group2, 1e-14);
    EXPECT_EQ(r.get(0, 1), 0.0);
    EXPECT_EQ(r.get(2, 3), 0.0);
    EXPECT_EQ(r.get(1, 1), 1.0);
    EXPECT_TRUE(engine.getGenerator().areDataCorrelationsValid());
}

TEST(UnequalGroups, GenerationFillsOnlyThePlacesOfParticipants)
{
    // The view of all rows of groups of 3 and 4 has 4 x 4 places, 2 of them empty in each
    // column of group 1: a sample reads 14 numbers, not 16.
    const TemporaryFile file("1 2 3 4 5 6 7 8 9 10 11 12 13 14");
    Design design;
    Anova engine(0);
    prepareStandardPopulation(twoGroupTable(), design, engine);
    engine.getGenerator().setPreferences(filePreferences({file.path()}));
    ASSERT_EQ(engine.getGenerator().generateSample(), StatusOk);
    const YMatrix& y = engine.getY();
    // View row 2 holds group 1's last participant (row 2) and group 2's third (row 5);
    // view row 3 only group 2's last participant (row 6).
    EXPECT_EQ(y.get(2, 0), 9.0);
    EXPECT_EQ(y.get(5, 0), 10.0);
    EXPECT_EQ(y.get(2, 1), 11.0);
    EXPECT_EQ(y.get(5, 1), 12.0);
    EXPECT_EQ(y.get(6, 0), 13.0);
    EXPECT_EQ(y.get(6, 1), 14.0);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
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

TEST(CorrelationValidity, AGroupOfOneGivesInvalidCorrelationAtTheFirstSample)
{
    Design design;
    Anova engine(0);
    prepareStandardPopulation(
        tableOf(1, {2}, {{1, 1.0, 2.0}, {2, 4.0, 3.0}, {2, 5.5, 6.0}, {2, 4.5, 3.5}}), design,
        engine);
    EXPECT_FALSE(engine.getGenerator().areDataCorrelationsValid());
    engine.getGenerator().seed(1u);
    engine.addParticipants(0);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusInvalidCorrelation);
}

TEST(CorrelationValidity, OneWithinCellNeedsNoCorrelations)
{
    Design design;
    Anova engine(0);
    prepareEngine(tableOf(1, {1}, {{1, 1.0}, {2, 4.0}, {2, 5.5}}), design, engine,
                  matrixOf({{0}, {0}}), matrixOf({{1}, {1}}), matrixOf({{1}}));
    EXPECT_TRUE(engine.getGenerator().getDataCorrelations().isEmpty());
    engine.getGenerator().seed(1u);
    engine.addParticipants(2);
    EXPECT_EQ(engine.getGenerator().generateSample(), StatusOk);
}
