#include "CurveSegment.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pw {

namespace {

constexpr float stepSize = static_cast<float>(1.0 / 4056.0);
constexpr double window = 0.01;

std::vector<float> makeStepStarts()
{
    std::vector<float> starts;
    float t = 0.0f;
    do {
        starts.push_back(t);
        t += stepSize;
    } while (t <= 1.0f);
    return starts;
}

}  // namespace

CurveSegment::CurveSegment(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3) : p_{p0, p1, p2, p3}
{
    // One walk serves every lookup. A step's end point is the next step's start point at the
    // same float t, so each point is evaluated once. The walk goes in blocks: first the block's
    // end points, then its step lengths, then the running sum in walk order. Points and lengths
    // do not depend on each other, so the compiler computes several at once; the sums come out
    // bit for bit as from a step-by-step walk.
    const std::vector<float>& starts = stepStarts();
    runningSums_.resize(starts.size());
    constexpr std::size_t blockSteps = 256;
    std::array<float, blockSteps + 1> xs;
    std::array<float, blockSteps + 1> ys;
    std::array<float, blockSteps + 1> zs;
    Vector3 a = pointAt(0.0f);
    float sum = 0.0f;
    for (std::size_t begin = 0; begin < starts.size(); begin += blockSteps) {
        const std::size_t count = std::min(blockSteps, starts.size() - begin);
        xs[0] = a.x;
        ys[0] = a.y;
        zs[0] = a.z;
        for (std::size_t k = 0; k < count; ++k) {
            const Vector3 b = pointAt(starts[begin + k] + stepSize);
            xs[k + 1] = b.x;
            ys[k + 1] = b.y;
            zs[k + 1] = b.z;
        }
        float* const steps = runningSums_.data() + begin;
        for (std::size_t k = 0; k < count; ++k) {
            // length(b - a), spelled out so that it need not be a call.
            const float dx = xs[k + 1] - xs[k];
            const float dy = ys[k + 1] - ys[k];
            const float dz = zs[k + 1] - zs[k];
            steps[k] = std::sqrt(dx * dx + dy * dy + dz * dz);
        }
        for (std::size_t k = 0; k < count; ++k) {
            sum += steps[k];
            steps[k] = sum;
        }
        a = {xs[count], ys[count], zs[count]};
    }
    walkedLength_ = sum;
    runningSums_.erase(std::find_if(runningSums_.begin(), runningSums_.end(),
                                    [](float s) { return std::isnan(s); }),
                       runningSums_.end());
}

Vector3 CurveSegment::pointAt(float t) const
{
    const float u = 1.0f - t;
    const float v = 1.0f - u;
    const float b0 = u * u * u;
    const float b1 = 3.0f * u * u * v;
    const float b2 = 3.0f * u * v * v;
    const float b3 = v * v * v;
    return {b0 * p_[0].x + b1 * p_[1].x + b2 * p_[2].x + b3 * p_[3].x,
            b0 * p_[0].y + b1 * p_[1].y + b2 * p_[2].y + b3 * p_[3].y,
            b0 * p_[0].z + b1 * p_[1].z + b2 * p_[2].z + b3 * p_[3].z};
}

Vector3 CurveSegment::pointAtLengthFraction(float f) const
{
    const double target = static_cast<double>(f) * static_cast<double>(walkedLength());
    const double lower = target - window;
    // The sums never decrease, so "sum > lower" splits them in two.
    const auto first =
        std::partition_point(runningSums_.begin(), runningSums_.end(),
                             [lower](float s) { return !(static_cast<double>(s) > lower); });
    if (first == runningSums_.end())
        return p_[3];
    return pointAt(stepStarts()[static_cast<std::size_t>(first - runningSums_.begin())]);
}

float CurveSegment::walkedLength() const { return walkedLength_; }

const std::vector<float>& CurveSegment::stepStarts()
{
    static const std::vector<float> starts = makeStepStarts();
    return starts;
}

}  // namespace pw
