#include "math/Math_Matrix3.h"

#include "ByteFile.h"

#include <gtest/gtest.h>

namespace {

// Translations up to 1000 carry rounding errors of about 1e-4.
void ExpectNear(const Matrix3& actual, const Matrix3& expected) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(actual[i], expected[i], (i == 2 || i == 5) ? 2e-4f : 1e-6f) << "element " << i;
    }
}

// Rotate by degrees, then move to (x, y).
Matrix3 Placement(float degrees, float x, float y) { return Matrix3::Translation(x, y) * Matrix3::Rotation(degrees); }

}  // namespace

TEST(Matrix3, NewMatrixIsTheIdentity) {
    const Matrix3 m;
    EXPECT_EQ(Matrix3::TransformPoint(m, Point2D(3.0f, -4.0f)), Point2D(3.0f, -4.0f));
    Matrix3 changed = Matrix3::Translation(Vector2D(1.0f, 2.0f));
    EXPECT_EQ(changed[2], 1.0f);
    EXPECT_EQ(changed[5], 2.0f);
    changed.SetIdentity();
    EXPECT_EQ(changed.m, m.m);
}

TEST(Matrix3, RotationTurnsCounterClockwise) {
    const Point2D p = Matrix3::TransformPoint(Matrix3::Rotation(90.0f), Point2D(1.0f, 0.0f));
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 1.0f, 1e-6f);
    const Matrix3 r = Matrix3::Rotation(30.0f);
    EXPECT_FLOAT_EQ(r[0], 0.8660254f);
    EXPECT_FLOAT_EQ(r[1], -0.5f);
    EXPECT_FLOAT_EQ(r[3], 0.5f);
    EXPECT_EQ(r[6], 0.0f);
    EXPECT_EQ(r[8], 1.0f);
}

TEST(Matrix3, PlacementRotatesThenMoves) {
    const Matrix3 placement = Placement(90.0f, 5.0f, 0.0f);
    const Point2D p = Matrix3::TransformPoint(placement, Point2D(1.0f, 0.0f));
    EXPECT_NEAR(p.x, 5.0f, 1e-6f);
    EXPECT_NEAR(p.y, 1.0f, 1e-6f);
    // The bottom-row form turns an offset without moving it.
    const Vector2D offset = Matrix3::TransformPointBottomRow(placement, Vector2D(1.0f, 0.0f));
    EXPECT_NEAR(offset.x, 0.0f, 1e-6f);
    EXPECT_NEAR(offset.y, 1.0f, 1e-6f);
}

TEST(Matrix3, BottomRowFormAddsElementsSixAndSeven) {
    const Matrix3 m({1.0f, 0.0f, 100.0f, 0.0f, 1.0f, 200.0f, 3.0f, 4.0f, 1.0f});
    EXPECT_EQ(Matrix3::TransformPointBottomRow(m, Vector2D(1.0f, 1.0f)), Vector2D(4.0f, 5.0f));
}

TEST(Matrix3, ScalingByAFactorOnEitherSide) {
    const Matrix3 doubled = Matrix3::Translation(1.0f, 2.0f) * 2.0f;
    EXPECT_EQ(doubled.m, (2.0f * Matrix3::Translation(1.0f, 2.0f)).m);
    EXPECT_EQ(doubled[0], 2.0f);
    EXPECT_EQ(doubled[5], 4.0f);
    EXPECT_EQ(doubled[8], 2.0f);
}

TEST(Matrix3, InverseOfAPlacementUndoesIt) {
    const Matrix3 placements[] = {Placement(90.0f, 5.0f, 0.0f), Placement(-37.5f, -12.0f, 3.25f),
                                  Placement(200.0f, 1000.0f, -250.0f)};
    for (const Matrix3& placement : placements) {
        Matrix3 inverse;
        ASSERT_TRUE(Matrix3::Inverse(placement, inverse));
        ExpectNear(inverse * placement, Matrix3());
        ExpectNear(placement * inverse, Matrix3());
    }
}

TEST(Matrix3, InverseMayWriteOverItsInput) {
    const Matrix3 placement = Placement(-37.5f, -12.0f, 3.25f);
    Matrix3 inPlace = placement;
    ASSERT_TRUE(Matrix3::Inverse(inPlace, inPlace));
    ExpectNear(inPlace * placement, Matrix3());
}

TEST(Matrix3, NearlySingularMatrixLeavesTheOutputAndReportsFalse) {
    const Matrix3 singular[] = {
        Matrix3({0.01f, 0.0f, 0.0f, 0.0f, 0.01f, 0.0f, 0.0f, 0.0f, 1.0f}),  // determinant 0.0001
        Matrix3({1.0f, 2.0f, 3.0f, 2.0f, 4.0f, 6.0f, 0.0f, 0.0f, 1.0f}),    // determinant 0
        Matrix3({std::nanf(""), 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}),
    };
    for (const Matrix3& m : singular) {
        Matrix3 out = Matrix3::Translation(7.0f, 8.0f);
        EXPECT_FALSE(Matrix3::Inverse(m, out));
        EXPECT_EQ(out.m, Matrix3::Translation(7.0f, 8.0f).m);
    }
    // Just outside the band the inverse is written.
    Matrix3 out;
    EXPECT_TRUE(Matrix3::Inverse(Matrix3({0.025f, 0.0f, 0.0f, 0.0f, 0.025f, 0.0f, 0.0f, 0.0f, 1.0f}), out));
    EXPECT_FLOAT_EQ(out[0], 40.0f);
}

TEST(Matrix3, StreamFormIsNineFloatsRowByRow) {
    ByteFile file;
    Matrix3().Write(file);
    ASSERT_EQ(file.Bytes().size(), 36u);
    const std::vector<std::uint8_t> one = {0x00, 0x00, 0x80, 0x3F};
    const std::vector<std::uint8_t> zero(4, 0x00);
    for (int i = 0; i < 9; ++i) {
        const std::vector<std::uint8_t> item(file.Bytes().begin() + i * 4, file.Bytes().begin() + i * 4 + 4);
        EXPECT_EQ(item, i % 4 == 0 ? one : zero) << "element " << i;
    }

    const Matrix3 placement = Placement(33.0f, -4.0f, 9.5f);
    ByteFile stream;
    stream << placement;
    Matrix3 back;
    stream >> back;
    EXPECT_EQ(back.m, placement.m);
}
