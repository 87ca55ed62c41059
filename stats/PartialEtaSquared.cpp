#include "stats/PartialEtaSquared.h"

double partialEtaSquared(double F, double df1, double df2)
{
    return 1.0 / (1.0 + df2 / (F * df1));
}
