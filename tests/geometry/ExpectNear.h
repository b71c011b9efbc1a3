#pragma once
// The one comparison the geometry tests share: element by element, a tolerance of 0 asks for
// equal values.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

namespace pw::test {

template <std::size_t N>
void expectNear(const std::array<float, N>& actual, const std::array<float, N>& expected,
                float tolerance)
{
    for (std::size_t k = 0; k < N; ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance) << "element " << k;
}

}  // namespace pw::test
