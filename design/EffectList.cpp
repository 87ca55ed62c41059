#include "design/EffectList.h"

#include "design/Combinations.h"

#include <cassert>

GeneralMatrix<int> effectList(int variableCount)
{
    assert(variableCount >= 0);
    GeneralMatrix<int> effects =
        levelCombinations(std::vector<int>(static_cast<std::size_t>(variableCount), 2));
    for (std::int32_t e = 0; e < effects.getRows(); ++e) {
        for (std::int32_t v = 0; v < effects.getCols(); ++v) {
            --effects.at(e, v);
        }
    }
    return effects;
}

GeneralMatrix<int> existingEffects(const std::vector<int>& levels)
{
    const GeneralMatrix<int> all = effectList(static_cast<int>(levels.size()));
    GeneralMatrix<int> kept(1, all.getCols());
    for (std::int32_t e = 1; e < all.getRows(); ++e) {
        bool exists = true;
        for (std::int32_t v = 0; v < all.getCols(); ++v) {
            if (all.get(e, v) == 1 && levels[static_cast<std::size_t>(v)] < 2)
                exists = false;
        }
        if (!exists)
            continue;
        const std::int32_t row = kept.getRows();
        kept.appendRow();
        for (std::int32_t v = 0; v < all.getCols(); ++v)
            kept.set(row, v, all.get(e, v));
    }
    return kept;
}

std::string effectName(const GeneralMatrix<int>& effects, int e,
                       const std::vector<std::string>& betweenNames,
                       const std::vector<std::string>& withinNames)
{
    assert(effects.getCols() ==
           static_cast<std::int32_t>(betweenNames.size() + withinNames.size()));
    std::string name;
    std::int32_t column = 0;
    for (const auto* names : {&betweenNames, &withinNames}) {
        for (const std::string& variable : *names) {
            if (effects.get(e, column++) == 1) {
                name += name.empty() ? variable : " x " + variable;
            }
        }
    }
    return name;
}
