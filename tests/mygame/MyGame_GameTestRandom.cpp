#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame_Random.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

// Five draws from the published generator's default seed, whose outputs are
// 3499211612, 581869302, 3890346734, 3586334585, 545404204.
template <class T>
std::vector<T> FiveDraws(const std::function<T()>& draw) {
    Core::GameRandomGenerator().Seed(5489);
    std::vector<T> values;
    for (int i = 0; i < 5; ++i) {
        values.push_back(draw());
    }
    return values;
}

TEST(GameRandom, IntegersFromTheSharedGenerator) {
    struct Row {
        std::int32_t a;
        std::int32_t b;
        std::vector<std::int32_t> expected;
    };
    const Row rows[] = {
        {0, 1, {1, 0, 1, 1, 0}},
        {0, 3, {3, 0, 3, 3, 0}},
        {-30, 30, {19, -21, 25, 20, -22}},
        {7, 7, {7, 7, 7, 7, 7}},
        {INT_MIN, INT_MAX, {1351727964, -1565614346, 1742863086, 1438850937, -1602079444}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FiveDraws<std::int32_t>([&] { return RandomInt(row.a, row.b); }), row.expected)
            << row.a << ".." << row.b;
    }
}

TEST(GameRandom, FloatsFromTheSharedGenerator) {
    const std::vector<float> expected = {122.588943f, 95.4190826f, 126.231674f, 123.400345f, 95.0794754f};
    EXPECT_EQ(FiveDraws<float>([] { return RandomFloat(90.0f, 130.0f); }), expected);
    for (const float a : {0.0f, -3.5f, 1234.5f}) {
        EXPECT_EQ(FiveDraws<float>([a] { return RandomFloat(a, a); }), std::vector<float>(5, a));
    }
}

}  // namespace
