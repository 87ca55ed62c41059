#include "stats/TestResult.h"

#include "numeric/FDistribution.h"


void TestResult::initialize(const RealMatrix* hePlus, const double* heEigenvalues,
                            std::int32_t newN, std::int32_t newRankX, std::int32_t newQ,
                            std::int32_t newT)
{
    effectMatrix = hePlus;
    eigenvalues = heEigenvalues;
    setDimensions(newN, newRankX, newQ, newT);
}

void TestResult::setDimensions(std::int32_t newN, std::int32_t newRankX, std::int32_t newQ,
                               std::int32_t newT)
{
    n = newN;
    rankX = newRankX;
    q = newQ;
    t = newT;
}

void TestResult::finishFromF()
{
    noncentrality = F * df1;
    p = fUpperTail(F, df1, df2);
}
