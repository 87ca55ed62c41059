#include "stats/Availability.h"

std::string_view availabilityReason(Availability availability)
{
    switch (availability) {
    case Availability::Available: return "";
    case Availability::NoErrorDegreesOfFreedom:
        return "The error degrees of freedom are not positive.";
    case Availability::ZeroErrorSumOfSquares: return "The error sum of squares is zero.";
    case Availability::SingularErrorMatrix: return "The error matrix is singular.";
    case Availability::UndefinedStatistic: return "The test statistic is undefined for these data.";
    }
    return "";
}
