#pragma once

/// The upper tail P(χ²_df > x) of the central chi-square distribution, computed directly
/// (not as 1 minus the lower tail), so that a small tail keeps its relative accuracy. 1 for
/// x <= 0; NaN for a NaN argument or df <= 0. Keeps no state; may run on several threads.
double chiSquareUpperTail(double x, double df);
