#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

/// The upper F tails of one compute of an effect, each evaluated once. Its tests often ask
/// for the same tail: with s = 1 the four MANOVA tests have the same df and, when their
/// statistics round alike, the same F; the univariate rows share F. An entry matches on the
/// bits of f, dfn and dfd, so a remembered tail is exactly what fUpperTail would return.
class FTailMemo {
public:
    /// Forgets every tail; called at the start of each compute.
    void clear() { count = 0; }
    /// fUpperTail(f, dfn, dfd), evaluated only for arguments not seen since clear.
    double upperTail(double f, double dfn, double dfd);

private:
    struct Entry {
        std::uint64_t f;
        std::uint64_t dfn;
        std::uint64_t dfd;
        double tail;
    };
    /// One compute asks for at most eight tails: the four MANOVA tests' and the univariate
    /// test's, uncorrected and with its three corrections.
    std::array<Entry, 8> entries{};
    std::size_t count = 0;
};
