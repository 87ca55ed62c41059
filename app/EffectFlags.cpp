#include "app/EffectFlags.h"

#include <cassert>
#include <cstdint>

EffectFlags effectFlags(const GeneralMatrix<int>& effects, int e, int betweenCount)
{
    assert(e >= 0 && e < effects.getRows());
    assert(betweenCount >= 0 && betweenCount <= effects.getCols());
    EffectFlags flags;
    for (std::int32_t v = 0; v < effects.getCols(); ++v) {
        const int flag = effects.get(e, v);
        const bool between = v < betweenCount;
        std::vector<int>& flagList = between ? flags.betweenFlags : flags.withinFlags;
        std::vector<int>& indexList = between ? flags.betweenIndices : flags.withinIndices;
        if (flag == 1)
            indexList.push_back(static_cast<int>(flagList.size()));
        flagList.push_back(flag);
    }
    return flags;
}
