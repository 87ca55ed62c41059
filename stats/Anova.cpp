#include "stats/Anova.h"

Anova::Anova(std::int32_t newThreadIndex)
    : threadIndex(newThreadIndex), sample(&lapack),
      generator(sample.getGeneratorTarget(), &lapack, newThreadIndex),
      summarySampler(generator, &lapack), model(&lapack), population(&lapack),
      worker(sample, model, population, generator, summarySampler)
{
}

void Anova::setDesign(const YMatrix& newY, const RealMatrix& newX,
                      const std::vector<int>& newGroupStart,
                      const std::vector<int>& /*newBetweenLevels*/,
                      const std::vector<int>& newWithinLevels,
                      const GeneralMatrix<int>& newBetweenCombinations,
                      const GeneralMatrix<int>& newWithinCombinations,
                      std::int32_t /*newBetweenCount*/, std::int32_t newWithinCount)
{
    sample.setData(newY, newX, newGroupStart);
    population.setDesign(newWithinLevels, newBetweenCombinations, newWithinCombinations,
                         newWithinCount);
}

void Anova::setEffect(const RealMatrix& newC, const RealMatrix& newM,
                      const std::vector<int>& newWithinIndices,
                      const std::vector<int>& newBetweenIndices)
{
    model.setEffect(newC, newM);
    population.setEffectVariables(newWithinIndices, newBetweenIndices);
}
