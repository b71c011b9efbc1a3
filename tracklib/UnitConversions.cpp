#include "TrackOperations.h"

namespace pw {

namespace {
// The simulator's own factor, not standard gravity's 9.80665.
constexpr double gravityFactor = 9.81665;
constexpr double kilometersPerHourFactor = 3.6;
}  // namespace

float metersPerSecondSquaredToG(float x)
{
    return static_cast<float>(static_cast<double>(x) / gravityFactor);
}

float gToMetersPerSecondSquared(float x)
{
    return static_cast<float>(static_cast<double>(x) * gravityFactor);
}

float kilometersPerHourToMetersPerSecond(float x)
{
    return static_cast<float>(static_cast<double>(x) / kilometersPerHourFactor);
}

float metersPerSecondToKilometersPerHour(float x)
{
    return static_cast<float>(static_cast<double>(x) * kilometersPerHourFactor);
}

}  // namespace pw
