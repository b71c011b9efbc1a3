#include "ModelFootprint.h"

namespace pw {

ModelFootprint unitSquareFootprint(const CoreError& why)
{
    ModelFootprint footprint;
    footprint.problem = errorReason(why);
    footprint.points = {
        {-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.5f}};
    footprint.minimum = {-0.5f, 0.0f, -0.5f};
    footprint.maximum = {0.5f, 0.0f, 0.5f};
    return footprint;
}

}  // namespace pw
