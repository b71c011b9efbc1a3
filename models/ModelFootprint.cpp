#include "ModelFootprint.h"

#include <utility>

namespace pw {

ModelFootprint unitSquareFootprint(std::string problem)
{
    ModelFootprint footprint;
    footprint.problem = std::move(problem);
    footprint.points = {
        {-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.5f}};
    footprint.minimum = {-0.5f, 0.0f, -0.5f};
    footprint.maximum = {0.5f, 0.0f, 0.5f};
    return footprint;
}

}  // namespace pw
