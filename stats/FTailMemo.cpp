#include "stats/FTailMemo.h"

#include "numeric/FDistribution.h"

#include <bit>

double FTailMemo::upperTail(double f, double dfn, double dfd)
{
    const auto fBits = std::bit_cast<std::uint64_t>(f);
    const auto dfnBits = std::bit_cast<std::uint64_t>(dfn);
    const auto dfdBits = std::bit_cast<std::uint64_t>(dfd);
    for (std::size_t i = 0; i < count; ++i) {
        const Entry& entry = entries[i];
        if (entry.f == fBits && entry.dfn == dfnBits && entry.dfd == dfdBits)
            return entry.tail;
    }
    const double tail = fUpperTail(f, dfn, dfd);
    if (count < entries.size())
        entries[count++] = {fBits, dfnBits, dfdBits, tail};
    return tail;
}
