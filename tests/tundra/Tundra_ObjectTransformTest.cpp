#include "tundra/Tundra_ObjectTransform.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using Tundra::ObjectTransformInputs;

namespace {

Matrix4 GeneralProducts(const ObjectTransformInputs& in, const Matrix4& rotation) {
    return Matrix4::Translation(in.positionX - in.centerX, in.positionY - in.centerY, in.z) *
           Matrix4::Translation(in.centerX, in.centerY, 0.0f) * rotation *
           Matrix4::Translation(-in.centerX, -in.centerY, 0.0f) * Matrix4::Scaling(in.scaleX, in.scaleY, 1.0f);
}

// Every element's bits: signed zeros, infinities and NaNs as the products
// give them.
void ExpectSameBits(const ObjectTransformInputs& in, float degrees) {
    Matrix4 rotation;
    Matrix4::MakeRotationZ(rotation, degrees);
    const Matrix4 expected = GeneralProducts(in, rotation);
    const Matrix4 built = Tundra::ComposeObjectTransform(in, rotation[0], rotation[1]);
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(built[i]), std::bit_cast<std::uint32_t>(expected[i]))
            << "element " << i << " at (" << in.positionX << ", " << in.positionY << ") centre (" << in.centerX
            << ", " << in.centerY << ") z " << in.z << " scale (" << in.scaleX << ", " << in.scaleY << ") turned "
            << degrees;
    }
}

}  // namespace

// Values drawn from a table of edge cases (zeros of both signs, the
// smallest and largest floats, sums that overflow, infinities, NaNs) and
// ordinary ones, in every input.
TEST(ObjectTransformTest, TheDirectBuildHasTheBitsOfTheGeneralProducts) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    constexpr float kMax = std::numeric_limits<float>::max();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> edges{0.0f, -0.0f,  1.0f,  -1.0f, -2.5f, 1e-45f,    -1e-45f,   1e-38f,
                                   3e38f, -3e38f, kMax, -kMax, 1e20f, kInfinity, -kInfinity, nan};
    const std::vector<float> angles{0.0f, -0.0f, 90.0f, -90.0f, 180.0f, 270.0f, 12.5f, 1e30f, kInfinity, nan};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> edge(0, edges.size() - 1);
    std::uniform_int_distribution<std::size_t> angle(0, angles.size() - 1);
    std::uniform_real_distribution<float> ordinary(-1000.0f, 1000.0f);
    std::bernoulli_distribution takeEdge(0.6);
    const auto draw = [&] { return takeEdge(random) ? edges[edge(random)] : ordinary(random); };
    for (int k = 0; k < 20000; ++k) {
        const ObjectTransformInputs in{draw(), draw(), draw(), draw(), draw(), draw(), draw()};
        ExpectSameBits(in, takeEdge(random) ? angles[angle(random)] : ordinary(random));
    }
}
