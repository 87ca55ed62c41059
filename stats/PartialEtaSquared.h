#pragma once

/// Partial η² of an F test, F·df1 / (F·df1 + df2): the share of the effect in the sum of
/// effect and error. Written as 1 / (1 + df2/(F·df1)) so that an infinite F gives 1 and
/// F = 0 gives 0; NaN when F or a df is NaN.
double partialEtaSquared(double F, double df1, double df2);
