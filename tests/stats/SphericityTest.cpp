// The corrections for non-sphericity and Mauchly's test against the classical route that
// needs no contrast matrix: the pooled covariance S of the k levels, double-centred, whose
// non-zero eigenvalues are those of Mₜ S M for every orthonormal M. Plain loops throughout.

#include "tests/support/EngineTestSupport.h"

#include "numeric/FDistribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using Matrix = std::vector<std::vector<double>>;

/// One within variable of k levels; column 0 the group code. Cell (i, c) gets a participant
/// effect that grows with c, so the covariance is far from spherical.
Matrix nonSphericalRows(int groups, int perGroup, int k, double spread, unsigned seed)
{
    Matrix rows;
    for (int g = 1; g <= groups; ++g) {
        const Matrix noise = normalRows({}, {perGroup}, k, seed + static_cast<unsigned>(g));
        for (int i = 0; i < perGroup; ++i) {
            std::vector<double> row{static_cast<double>(g)};
            const double participant = std::sin(7.0 * i + g);
            for (int c = 0; c < k; ++c)
                row.push_back(noise[static_cast<std::size_t>(i)][static_cast<std::size_t>(c)] +
                              spread * participant * c * c + 0.5 * g * c);
            rows.push_back(row);
        }
    }
    return rows;
}

/// The table of the rows: their group column as a between variable when there are groups.
DataTable tableFor(const Matrix& rows, int groups, int k)
{
    if (groups > 1)
        return tableOf(1, {k}, rows);
    Matrix cells;
    for (const auto& row : rows)
        cells.emplace_back(row.begin() + 1, row.end());
    return tableOf(0, {k}, cells);
}

/// The double-centred pooled within-group covariance P S P, P = I - J/k, and N - r.
Matrix centredCovariance(const Matrix& rows, int k, double& errorDf)
{
    Matrix sums(8, std::vector<double>(static_cast<std::size_t>(k), 0.0));
    std::vector<int> counts(8, 0);
    for (const auto& row : rows) {
        const auto g = static_cast<std::size_t>(row[0]);
        ++counts[g];
        for (int c = 0; c < k; ++c)
            sums[g][static_cast<std::size_t>(c)] += row[static_cast<std::size_t>(c) + 1];
    }
    int groups = 0;
    for (int count : counts)
        groups += count > 0 ? 1 : 0;
    errorDf = static_cast<double>(rows.size()) - groups;
    Matrix S(static_cast<std::size_t>(k), std::vector<double>(static_cast<std::size_t>(k), 0.0));
    for (const auto& row : rows) {
        const auto g = static_cast<std::size_t>(row[0]);
        for (std::size_t a = 0; a < S.size(); ++a) {
            for (std::size_t b = 0; b < S.size(); ++b) {
                S[a][b] += (row[a + 1] - sums[g][a] / counts[g]) *
                           (row[b + 1] - sums[g][b] / counts[g]) / errorDf;
            }
        }
    }
    // (P S P)ab = Sab - row mean a - column mean b + grand mean.
    std::vector<double> means(S.size(), 0.0);
    double grand = 0.0;
    for (std::size_t a = 0; a < S.size(); ++a) {
        for (std::size_t b = 0; b < S.size(); ++b)
            means[a] += S[a][b] / k;
        grand += means[a] / k;
    }
    Matrix centred = S;
    for (std::size_t a = 0; a < S.size(); ++a) {
        for (std::size_t b = 0; b < S.size(); ++b)
            centred[a][b] = S[a][b] - means[a] - means[b] + grand;
    }
    return centred;
}

double trace(const Matrix& a)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i][i];
    return sum;
}

/// tr(A²) of a symmetric A: the sum of its squared entries.
double traceOfSquare(const Matrix& a)
{
    double sum = 0.0;
    for (const auto& row : a) {
        for (double x : row)
            sum += x * x;
    }
    return sum;
}

} // namespace

// ε = tr(PSP)² / ((k - 1) tr((PSP)²)), then the Huynh-Feldt estimate with Lecoutre's N - r + 1
// and the lower bound 1/(k - 1); the corrected df and noncentrality are the uncorrected ones
// times the epsilon and p is the F tail there. Cases: an estimate below 1, one capped at 1,
// and t = 1, where every epsilon is 1.
TEST(EpsilonCorrections, HuynhFeldtAndLowerBoundFromTheDoubleCentredCovariance)
{
    const struct {
        int groups, perGroup, k;
        double spread;
    } cases[] = {{1, 9, 4, 3.0}, {3, 5, 3, 2.0}, {2, 12, 4, 0.0}, {1, 30, 3, 0.0}, {2, 6, 2, 3.0}};
    int capped = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "k " << c.k << ", groups " << c.groups);
        const Matrix rows = nonSphericalRows(c.groups, c.perGroup, c.k, c.spread, 50u);
        Analysis a;
        ASSERT_TRUE(a.run(tableFor(rows, c.groups, c.k),
                          c.groups > 1 ? std::vector<int>{0} : std::vector<int>{}, {1}));
        double nu = 0.0;
        const Matrix centred = centredCovariance(rows, c.k, nu);
        const double t = c.k - 1.0;
        const double gg = trace(centred) * trace(centred) / (t * traceOfSquare(centred));
        EXPECT_NEAR(a.univariate().epsilon, gg, 1e-12);
        const double hf = std::min(1.0, ((nu + 1.0) * t * gg - 2.0) / (t * (nu - t * gg)));
        capped += hf == 1.0 ? 1 : 0;
        const struct {
            const EpsilonCorrection& test;
            double epsilon;
        } corrections[] = {{a.engine.getHuynhFeldtTest(), c.k == 2 ? 1.0 : hf},
                           {a.engine.getLowerBoundTest(), 1.0 / t}};
        const UnivariateTest& u = a.univariate();
        for (const auto& [test, epsilon] : corrections) {
            ASSERT_TRUE(test.isAvailable());
            EXPECT_NEAR(test.epsilon, epsilon, 1e-12);
            EXPECT_NEAR(test.df1, t * epsilon, 1e-12 * t);
            EXPECT_NEAR(test.df2, t * nu * epsilon, 1e-12 * t * nu);
            EXPECT_NEAR(test.noncentrality, u.F * t * epsilon, 1e-10 * u.F * t);
            const double p = fUpperTail(u.F, t * epsilon, t * nu * epsilon);
            EXPECT_NEAR(test.p, p, 1e-10 * p);
        }
    }
    EXPECT_EQ(capped, 1) << "one estimate above 1";
}

// With one error df E has rank 1, so ε = 1/t and the estimate is 0/0 (computed: rounding
// noise over rounding noise): the row is not available rather than showing made-up df. Both
// corrections are not available when the uncorrected test is not.
TEST(EpsilonCorrections, FollowTheUncorrectedTestsFailures)
{
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(0, {4}, {{1, 2, 4, 3}, {2, 9, 3, 1}}), {}, {1}));
    ASSERT_TRUE(a.univariate().isAvailable());
    EXPECT_NEAR(a.univariate().epsilon, 1.0 / 3.0, 1e-12);
    EXPECT_EQ(a.engine.getHuynhFeldtTest().availability, Availability::UndefinedStatistic);
    EXPECT_TRUE(std::isnan(a.engine.getHuynhFeldtTest().p));
    EXPECT_TRUE(a.engine.getLowerBoundTest().isAvailable());

    ASSERT_TRUE(a.run(tableOf(0, {3}, {{1, 2, 4}}), {}, {1}));
    for (const EpsilonCorrection* test :
         {&a.engine.getHuynhFeldtTest(), &a.engine.getLowerBoundTest()}) {
        EXPECT_EQ(test->availability, Availability::NoErrorDegreesOfFreedom);
        EXPECT_TRUE(std::isnan(test->df1));
    }
}

// W = det/(tr/t)^t of the t non-zero eigenvalues of PSP: for k = 3 their product is the
// second elementary symmetric function (tr² - tr(A²))/2. ω₂ has the factor t - 2, so p is
// the plain tail of χ² on 2 df, exp(-χ²/2). Scaling the data leaves W unchanged.
TEST(MauchlySphericity, ThreeLevelsAgainstTheClosedForm)
{
    for (const double spread : {0.0, 1.0, 4.0}) {
        const Matrix rows = nonSphericalRows(2, 7, 3, spread, 60u);
        Analysis a;
        ASSERT_TRUE(a.run(tableOf(1, {3}, rows), {0}, {1}));
        double nu = 0.0;
        const Matrix centred = centredCovariance(rows, 3, nu);
        const double tr = trace(centred);
        const double W = 2.0 * (tr * tr - traceOfSquare(centred)) / (tr * tr);
        const double rho = 1.0 - (8.0 + 2.0 + 2.0) / (12.0 * nu);
        const double chiSquare = -nu * rho * std::log(W);
        const MauchlyTest& test = a.engine.getMauchlyTest();
        ASSERT_TRUE(test.isFormed());
        EXPECT_NEAR(test.W, W, 1e-12) << spread;
        EXPECT_NEAR(test.chiSquare, chiSquare, 1e-10 * chiSquare);
        EXPECT_EQ(test.df, 2.0);
        EXPECT_NEAR(test.p, std::exp(-chiSquare / 2.0), 1e-12);
    }
}

// t = 3 with hand-written Helmert contrasts and a 3 x 3 determinant; p with ω₂ and the
// odd-df tails of χ² written through erfc. Not formed for t = 1 or a singular E.
TEST(MauchlySphericity, FourLevelsWithHelmertContrastsAndItsUndefinedCases)
{
    const Matrix rows = nonSphericalRows(1, 10, 4, 1.5, 70u);
    Analysis a;
    ASSERT_TRUE(a.run(tableFor(rows, 1, 4), {}, {1}));
    double nu = 0.0;
    const Matrix centred = centredCovariance(rows, 4, nu);
    const double h[3][4] = {
        {1 / std::sqrt(2.0), -1 / std::sqrt(2.0), 0, 0},
        {1 / std::sqrt(6.0), 1 / std::sqrt(6.0), -2 / std::sqrt(6.0), 0},
        {1 / std::sqrt(12.0), 1 / std::sqrt(12.0), 1 / std::sqrt(12.0), -3 / std::sqrt(12.0)}};
    double s[3][3] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int x = 0; x < 4; ++x) {
                for (int y = 0; y < 4; ++y)
                    s[i][j] += h[i][x] *
                               centred[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] *
                               h[j][y];
            }
        }
    }
    const double det = s[0][0] * (s[1][1] * s[2][2] - s[1][2] * s[2][1]) -
                       s[0][1] * (s[1][0] * s[2][2] - s[1][2] * s[2][0]) +
                       s[0][2] * (s[1][0] * s[2][1] - s[1][1] * s[2][0]);
    const double tr = s[0][0] + s[1][1] + s[2][2];
    const double W = det / std::pow(tr / 3.0, 3.0);
    const double rho = 1.0 - (18.0 + 3.0 + 2.0) / (18.0 * nu);
    const double x = -nu * rho * std::log(W);
    const double omega2 =
        5.0 * 2.0 * 1.0 * (54.0 + 54.0 + 9.0 + 2.0) / (288.0 * (3.0 * nu * rho) * (3.0 * nu * rho));
    // P(χ²_f > x) for odd f: erfc(√(x/2)) + √(2x/π) e^(-x/2) Σⱼ<(f-1)/2 xʲ / (1·3·…·(2j+1)).
    const auto oddTail = [x](int f) {
        double term = std::sqrt(2.0 * x / std::numbers::pi) * std::exp(-x / 2.0);
        double sum = 0.0;
        for (int j = 0; j < (f - 1) / 2; ++j) {
            sum += term;
            term *= x / (2.0 * j + 3.0);
        }
        return std::erfc(std::sqrt(x / 2.0)) + sum;
    };
    const MauchlyTest& test = a.engine.getMauchlyTest();
    ASSERT_TRUE(test.isFormed());
    EXPECT_NEAR(test.W, W, 1e-12);
    EXPECT_EQ(test.df, 5.0);
    EXPECT_NEAR(test.chiSquare, x, 1e-10 * x);
    const double p = oddTail(5) + omega2 * (oddTail(9) - oddTail(5));
    EXPECT_NEAR(test.p, p, 1e-12 + 1e-10 * p);

    ASSERT_TRUE(a.run(tableOf(0, {2}, {{1, 2}, {2, 5}, {4, 4}}), {}, {1}));
    EXPECT_FALSE(a.engine.getMauchlyTest().isFormed());
    ASSERT_TRUE(a.run(tableOf(0, {4}, {{1, 2, 4, 3}, {2, 9, 3, 1}, {4, 1, 6, 2}}), {}, {1}));
    EXPECT_FALSE(a.engine.getMauchlyTest().isFormed()) << "E of rank 2 < t = 3";
    EXPECT_TRUE(std::isnan(a.engine.getMauchlyTest().W));
}
