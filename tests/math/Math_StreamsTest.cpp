#include "math/Math_Circle2D.h"
#include "math/Math_Color.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Matrix3.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector4D.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <bit>

// Every math value is stored as its floats in order, each little-endian.
TEST(MathStreams, ValuesAreTheirFloatsInOrderAndReadBack) {
    const Matrix4 m4 = Matrix4::Translation(4.0f, 0.0f, 0.0f);
    const Matrix3 m3({1, 2, 3, 4, 5, 6, 7, 8, 9});
    Core::MemoryFile file;
    file << Vector2D(1.5f, -2.0f) << Color(1.0f, 0.5f, 0.0f, -2.0f) << Color() << Vector4D() << m4;
    m3.Write(file);
    file << Math::LineSegment2D(Point2D(1, 2), Point2D(-2, 0.5f)) << Math::Circle2D(Point2D(0, 1), 2);
    std::vector<float> floats = {1.5f, -2.0f, 1.0f, 0.5f, 0.0f, -2.0f, 0, 0, 0, 0, 0, 0, 0, 1.0f};
    floats.insert(floats.end(), m4.m.begin(), m4.m.end());
    floats.insert(floats.end(), m3.m.begin(), m3.m.end());
    floats.insert(floats.end(), {1.0f, 2.0f, -2.0f, 0.5f, 0.0f, 1.0f, 2.0f});
    std::vector<std::uint8_t> expected;
    for (float value : floats) {
        for (int shift = 0; shift < 32; shift += 8) {
            expected.push_back(static_cast<std::uint8_t>(std::bit_cast<std::uint32_t>(value) >> shift));
        }
    }
    EXPECT_EQ(std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize()), expected);
    EXPECT_EQ(expected[2] + expected[3] * 256, 0x3FC0);  // 1.5: 00 00 C0 3F
    Point2D point;
    Color color;
    Vector4D vector(9, 9, 9, 9);
    Matrix4 m4Back(std::array<float, 16>{});
    Matrix3 m3Back;
    Math::LineSegment2D segment;
    Math::Circle2D circle;  // radius 1 until read
    EXPECT_EQ(circle.radius, 1.0f);
    point.Read(file);
    file >> color >> color >> vector >> m4Back >> m3Back;
    segment.Read(file), file >> circle;
    EXPECT_EQ(point, Point2D(1.5f, -2.0f));
    EXPECT_TRUE(color.r == 0.0f && color.a == 0.0f && vector.x == 0.0f && vector.w == 1.0f);
    EXPECT_TRUE(m4Back.m == m4.m && m3Back.m == m3.m && segment.pointA == Point2D(1, 2));
    EXPECT_TRUE(segment.pointB == Point2D(-2, 0.5f) && circle.center == Point2D(0, 1) && circle.radius == 2.0f);
}
