#pragma once

#include <cstdint>

/// The central F distribution with real-valued degrees of freedom.
///
/// Both tails are computed directly (the smaller one never as 1 minus the other), so an
/// upper tail near 1e-300 keeps its relative accuracy and so does a lower tail near 1e-15.
/// No function keeps state between calls; all may run on several threads at once.

/// which must be 1 (p and q from f, dfn, dfd). On success status is 0 and bound 0.0.
/// Argument errors leave p and q untouched: which < 1 gives status -1 and bound 1.0,
/// which > 4 status -1 and bound 4.0, f < 0 status -4, dfn <= 0 status -5, dfd <= 0
/// status -6 (bound 0.0 for these three). which 2..4 (searches for an argument) are not
/// supported and give status -1 with bound 1.0. p = P(F' <= f), q = P(F' > f).
/// A NaN argument passes these checks (no comparison with NaN holds) and gives p = q = NaN
/// with status 0; so does an infinite dfn or dfd when f > 0. f = +infinity gives p = 1, q = 0.
void cdff(std::int32_t& which, double& p, double& q, double& f, double& dfn, double& dfd,
          std::int32_t& status, double& bound);

/// cum = P(F' <= f), ccum = P(F' > f); f <= 0 gives cum 0 and ccum 1, f = +infinity cum 1
/// and ccum 0. No argument checks of its own: for f > 0, NaN or infinite degrees of freedom
/// give NaN.
void cumf(const double& f, const double& dfn, const double& dfd, double& cum, double& ccum);

/// w = I_x(a, b), w1 = 1 - I_x(a, b), with y = 1 - x given separately so that a small y
/// keeps its precision. ierr is 0 on success and non-zero when the arguments are invalid,
/// with the codes of Algorithm 708: 1 a or b negative, NaN or infinite; 2 a and b both 0;
/// 3 x outside [0, 1] or NaN; 4 the same for y; 5 x + y differs from 1 by more than 3 epsilon;
/// 6 x and a both 0; 7 y and b both 0. Then w and w1 are NaN.
void bratio(double a, double b, double x, double y, double& w, double& w1, std::int32_t& ierr);

/// The upper tail P(F' > f), as cdff gives it, without evaluating the lower one; NaN for
/// the arguments cdff refuses.
double fUpperTail(double f, double dfn, double dfd);
