#pragma once
// Sine, cosine and their inverses of a float that come out the same on every platform. The C
// libraries' float versions differ in the last bit (glibc's acosf and atanf from MinGW's for
// about one argument in fourteen), so a track generated on Windows would differ from one
// generated on Linux; their double versions rounded to float agree.

#include <cmath>

namespace pw {

inline float portableSin(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}

inline float portableCos(float x)
{
    return static_cast<float>(std::cos(static_cast<double>(x)));
}

inline float portableAcos(float x)
{
    return static_cast<float>(std::acos(static_cast<double>(x)));
}

inline float portableAtan(float x)
{
    return static_cast<float>(std::atan(static_cast<double>(x)));
}

}  // namespace pw
