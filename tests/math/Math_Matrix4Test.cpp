#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "math/Math_Matrix4.h"

#include "ByteFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

void ExpectNear(const Vector3D& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectNear(const Matrix4& actual, const Matrix4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
    }
}

// The box from low to high, built the way the scene graph builds its boxes.
BoundingBox Box(const Vector3D& low, const Vector3D& high) {
    BoundingBox seed;
    for (Vector3D& corner : seed.corners) {
        corner = high;
    }
    seed.corners[0] = low;
    BoundingBox box;
    BoundingBox::FromBoxes(box, std::span(&seed, 1), 0.0f);
    return box;
}

Frustum PerspectiveFrustum() {
    Frustum frustum;
    frustum.SetFromProjection(Matrix4::Perspective(90.0f, 1.0f, 1.0f, 3.0f));
    return frustum;
}

}  // namespace

TEST(Matrix4, TranslationAndComposition) {
    ExpectNear(Matrix4::TransformPoint(Matrix4::Translation(1.0f, 2.0f, 3.0f), Vector3D()), 1.0f, 2.0f, 3.0f);
    const Matrix4 a = Matrix4::Translation(1.0f, -2.0f, 0.5f) * Matrix4::RotationZ(30.0f);
    const Matrix4 b = Matrix4::Scaling(2.0f, 3.0f, 4.0f) * Matrix4::RotationZ(-75.0f);
    const Vector3D p(0.25f, -7.0f, 2.0f);
    const Vector3D composed = Matrix4::TransformPoint(a * b, p);
    const Vector3D stepwise = Matrix4::TransformPoint(a, Matrix4::TransformPoint(b, p));
    ExpectNear(composed, stepwise.x, stepwise.y, stepwise.z);
}

TEST(Matrix4, RotationZTurnsXTowardsY) {
    ExpectNear(Matrix4::TransformPoint(Matrix4::RotationZ(90.0f), Vector3D(1.0f, 0.0f, 0.0f)), 0.0f, 1.0f, 0.0f,
               1e-6f);
    Matrix4 out = Matrix4::Translation(5.0f, 5.0f, 5.0f);
    Matrix4::MakeRotationZ(out, 90.0f);
    EXPECT_EQ(out.m, Matrix4::RotationZ(90.0f).m);
    EXPECT_EQ(out[12], 0.0f);
}

TEST(Matrix4, ProductWithAVectorAndAFactor) {
    const Matrix4 m = Matrix4::Translation(1.0f, 2.0f, 3.0f);
    const Vector4D point = m * Vector4D(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(point.x, 2.0f);
    EXPECT_EQ(point.z, 4.0f);
    EXPECT_EQ(point.w, 1.0f);
    const Vector4D direction = m * Vector4D(1.0f, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(direction.x, 1.0f);
    const Matrix4 scaled = m * 2.0f;
    EXPECT_EQ(scaled[0], 2.0f);
    EXPECT_EQ(scaled[13], 4.0f);
}

TEST(Matrix4, PerspectiveMatchesTheClassicProjection) {
    const Matrix4 p = Matrix4::Perspective(90.0f, 1.0f, 1.0f, 3.0f);
    EXPECT_EQ(p[0], 1.0f);
    EXPECT_EQ(p[5], 1.0f);
    EXPECT_EQ(p[10], -2.0f);
    EXPECT_EQ(p[11], -1.0f);
    EXPECT_EQ(p[14], -3.0f);
    EXPECT_EQ(p[15], 0.0f);
    EXPECT_EQ(Matrix4::Perspective(90.0f, 2.0f, 1.0f, 3.0f)[0], 0.5f);
}

TEST(Matrix4, OrthographicMapsTheRectangleToTheUnitSquare) {
    const Matrix4 o = Matrix4::Orthographic(0.0f, 1024.0f, 768.0f, 0.0f);
    const Vector3D topLeft = Matrix4::TransformPoint(o, Vector3D(0.0f, 0.0f, 0.0f));
    const Vector3D bottomRight = Matrix4::TransformPoint(o, Vector3D(1024.0f, 768.0f, 0.0f));
    ExpectNear(topLeft, -1.0f, 1.0f, 0.0f);
    ExpectNear(bottomRight, 1.0f, -1.0f, 0.0f);
    EXPECT_EQ(o[10], -1.0f);
    EXPECT_EQ(o[14], 0.0f);
    EXPECT_EQ(o[15], 1.0f);
}

TEST(Matrix4, TransposeAndDeterminant) {
    Matrix4 m = Matrix4::Translation(1.0f, 2.0f, 3.0f);
    m.Transpose();
    EXPECT_EQ(m[3], 1.0f);
    EXPECT_EQ(m[7], 2.0f);
    EXPECT_EQ(m[11], 3.0f);
    EXPECT_EQ(m[12], 0.0f);
    const Matrix4 placed = Matrix4::Translation(4.0f, 5.0f, 6.0f) * Matrix4::RotationZ(40.0f) *
                           Matrix4::Scaling(2.0f, 3.0f, 4.0f);
    EXPECT_NEAR(placed.Determinant(), 24.0f, 1e-4f);
    EXPECT_EQ(Matrix4(std::array<float, 16>{}).Determinant(), 0.0f);
}

TEST(Matrix4, InvertUndoesAPlacement) {
    const Matrix4 placed = Matrix4::Translation(4.0f, -5.0f, 6.0f) * Matrix4::RotationZ(40.0f) *
                           Matrix4::Scaling(2.0f, 0.5f, 4.0f);
    Matrix4 inverse = placed;
    inverse.Invert();
    ExpectNear(inverse * placed, Matrix4(), 1e-6f);
    ExpectNear(Matrix4::Inverse(placed), inverse, 0.0f);
}

TEST(Matrix4, OnlyTheByValueInverseHasTheToleranceBand) {
    const Matrix4 small = Matrix4::Scaling(0.05f, 0.05f, 0.05f);
    const Matrix4 copy = Matrix4::Inverse(small);
    EXPECT_EQ(copy.m, small.m);

    Matrix4 inverted = small;
    inverted.Invert();
    ExpectNear(inverted, Matrix4::Scaling(20.0f, 20.0f, 20.0f), 1e-4f);

    Matrix4 singular(std::array<float, 16>{});
    singular[0] = 1.0f;
    const Matrix4 before = singular;
    singular.Invert();
    EXPECT_EQ(singular.m, before.m);
}

TEST(Matrix4, StreamFormIsSixteenFloatsInStorageOrder) {
    ByteFile file;
    file << Matrix4();
    ASSERT_EQ(file.Bytes().size(), 64u);
    EXPECT_EQ(file.Bytes()[3], 0x3F);
    EXPECT_EQ(file.Bytes()[4 * 5 + 3], 0x3F);
    EXPECT_EQ(file.Bytes()[4 * 4 + 3], 0x00);
    EXPECT_EQ(file.Bytes()[4 * 15 + 2], 0x80);

    const Matrix4 placed = Matrix4::Translation(4.0f, -5.0f, 6.0f) * Matrix4::RotationZ(40.0f);
    ByteFile stream;
    stream << placed;
    EXPECT_EQ(stream.Bytes()[12 * 4 + 3], 0x40);  // 4.0f = 00 00 80 40
    Matrix4 back(std::array<float, 16>{});
    stream >> back;
    EXPECT_EQ(back.m, placed.m);
}

TEST(Frustum, PerspectiveCornersAndPlanes) {
    const Frustum frustum = PerspectiveFrustum();
    const float expected[8][3] = {{1, 1, -1},  {-1, 1, -1},  {-3, 3, -3},  {3, 3, -3},
                                  {1, -1, -1}, {-1, -1, -1}, {-3, -3, -3}, {3, -3, -3}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectNear(frustum.corners[i], expected[i][0], expected[i][1], expected[i][2]);
    }
    const Plane& nearPlane = frustum.planes[Frustum::Near];
    ExpectNear(nearPlane.normal, 0.0f, 0.0f, -1.0f);
    ExpectNear(nearPlane.point, 0.0f, 0.0f, -1.0f);
    const Plane& farPlane = frustum.planes[Frustum::Far];
    ExpectNear(farPlane.normal, 0.0f, 0.0f, 1.0f);
    ExpectNear(farPlane.point, 0.0f, 0.0f, -3.0f);
    // Normals are unit length and point into the volume.
    for (const Plane& plane : frustum.planes) {
        EXPECT_NEAR(std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c), 1.0f, 1e-6f);
        EXPECT_EQ(Vector3D(0.0f, 0.2f, -2.0f).ClassifyToPlane(plane), Math::ClassifyFront);
    }
}

TEST(Frustum, ClassifiesBoxesOutsideInsideAndCrossing) {
    const Frustum frustum = PerspectiveFrustum();
    struct Case {
        const char* name;
        BoundingBox box;
        Math::ClassifyResult code;
    };
    const Case cases[] = {
        {"inside", Box({-0.5f, -0.5f, -2.5f}, {0.5f, 0.5f, -1.5f}), Math::ClassifyInside},
        {"beyond far, straddling the sides", Box({-10.0f, -10.0f, -6.0f}, {10.0f, 10.0f, -5.0f}),
         Math::ClassifyOutside},
        {"left of the volume", Box({-9.0f, -0.5f, -2.5f}, {-8.0f, 0.5f, -1.5f}), Math::ClassifyOutside},
        {"crossing near only", Box({-0.4f, -0.4f, -1.5f}, {0.4f, 0.4f, -0.5f}), Math::ClassifyIntersecting},
        {"around everything", Box({-10.0f, -10.0f, -10.0f}, {10.0f, 10.0f, 10.0f}), Math::ClassifyIntersecting},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frustum.ClassifyBox(c.box), c.code);
    }
}

TEST(Frustum, TransformMovesPlanesAndCornersButKeepsTheProjection) {
    Frustum frustum = PerspectiveFrustum();
    const Matrix4 projection = frustum.projection;
    frustum.Transform(Matrix4::Translation(10.0f, 0.0f, 0.0f));
    EXPECT_EQ(frustum.projection.m, projection.m);
    ExpectNear(frustum.corners[0], 11.0f, 1.0f, -1.0f);
    ExpectNear(frustum.corners[6], 7.0f, -3.0f, -3.0f);
    EXPECT_EQ(frustum.ClassifyBox(Box({9.5f, -0.5f, -2.5f}, {10.5f, 0.5f, -1.5f})), Math::ClassifyInside);
    EXPECT_EQ(frustum.ClassifyBox(Box({-0.5f, -0.5f, -2.5f}, {0.5f, 0.5f, -1.5f})), Math::ClassifyOutside);

    // A quarter turn about z turns the right plane's normal towards -y.
    Frustum turned = PerspectiveFrustum();
    turned.Transform(Matrix4::RotationZ(90.0f));
    const Plane& right = turned.planes[Frustum::Right];
    EXPECT_NEAR(right.a, 0.0f, 1e-6f);
    EXPECT_NEAR(right.b, -0.70710677f, 1e-6f);
    EXPECT_NEAR(right.c, -0.70710677f, 1e-6f);
}

TEST(Frustum, OrthographicProjectionGivesFiniteCorners) {
    Frustum frustum;
    frustum.SetFromProjection(Matrix4::Orthographic(0.0f, 1024.0f, 768.0f, 0.0f));
    // Near -1 and far 1: the near face at z = 1, the far face at z = -1.
    const float expected[8][3] = {{1024, 0, 1},   {0, 0, 1},   {0, 0, -1},   {1024, 0, -1},
                                  {1024, 768, 1}, {0, 768, 1}, {0, 768, -1}, {1024, 768, -1}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectNear(frustum.corners[i], expected[i][0], expected[i][1], expected[i][2], 1e-3f);
    }
    EXPECT_EQ(frustum.ClassifyBox(Box({100.0f, 100.0f, -0.5f}, {200.0f, 200.0f, 0.5f})), Math::ClassifyInside);
    EXPECT_EQ(frustum.ClassifyBox(Box({1100.0f, 100.0f, -0.5f}, {1200.0f, 200.0f, 0.5f})), Math::ClassifyOutside);
}

TEST(BoundingBox, NewBoxIsAllZero) {
    const BoundingBox box;
    ExpectNear(box.centre, 0.0f, 0.0f, 0.0f, 0.0f);
    for (const Vector3D& corner : box.corners) {
        ExpectNear(corner, 0.0f, 0.0f, 0.0f, 0.0f);
    }
    for (const Plane& plane : box.planes) {
        EXPECT_EQ(plane.d, 0.0f);
        ExpectNear(plane.normal, 0.0f, 0.0f, 0.0f, 0.0f);
    }
}

TEST(BoundingBox, FromBoxesGrowsTheCornersByTheMarginOnly) {
    const std::vector<BoundingBox> boxes = {Box({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}),
                                            Box({2.0f, -1.0f, 5.0f}, {3.0f, 0.0f, 6.0f})};
    BoundingBox out;
    BoundingBox& result = BoundingBox::FromBoxes(out, boxes, 1.0f);
    EXPECT_EQ(&result, &out);
    ExpectNear(out.centre, 1.5f, 0.0f, 3.0f, 0.0f);
    const float expected[8][3] = {{4, 2, 7},  {-1, 2, 7},  {-1, 2, -1},  {4, 2, -1},
                                  {4, -2, 7}, {-1, -2, 7}, {-1, -2, -1}, {4, -2, -1}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectNear(out.corners[i], expected[i][0], expected[i][1], expected[i][2], 0.0f);
    }
}

TEST(BoundingBox, NegativeOrNanMarginCountsAsZero) {
    const BoundingBox unit = Box({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    for (const float margin : {-5.0f, std::nanf("")}) {
        BoundingBox out;
        BoundingBox::FromBoxes(out, std::span(&unit, 1), margin);
        for (int i = 0; i < 8; ++i) {
            ExpectNear(out.corners[i], unit.corners[i].x, unit.corners[i].y, unit.corners[i].z, 0.0f);
        }
    }
}

TEST(BoundingBox, FacePlanesPointOutwardsWithTheFaceArea) {
    const BoundingBox box = Box({0.0f, 0.0f, 0.0f}, {2.0f, 3.0f, 4.0f});
    ExpectNear(box.planes[BoundingBox::Top].normal, 0.0f, 8.0f, 0.0f, 0.0f);
    ExpectNear(box.planes[BoundingBox::Bottom].normal, 0.0f, -8.0f, 0.0f, 0.0f);
    ExpectNear(box.planes[BoundingBox::Near].normal, 0.0f, 0.0f, 6.0f, 0.0f);
    ExpectNear(box.planes[BoundingBox::Far].normal, 0.0f, 0.0f, -6.0f, 0.0f);
    ExpectNear(box.planes[BoundingBox::Right].normal, 12.0f, 0.0f, 0.0f, 0.0f);
    ExpectNear(box.planes[BoundingBox::Left].normal, -12.0f, 0.0f, 0.0f, 0.0f);
    for (const Plane& plane : box.planes) {
        EXPECT_EQ(box.centre.ClassifyToPlane(plane), Math::ClassifyBehind);
    }
    EXPECT_EQ(box.planes[BoundingBox::Right].d, -24.0f);
}

TEST(BoundingBox, EmptyListGivesAZeroBox) {
    BoundingBox out = Box({1.0f, 1.0f, 1.0f}, {2.0f, 2.0f, 2.0f});
    BoundingBox::FromBoxes(out, {}, 3.0f);
    ExpectNear(out.centre, 0.0f, 0.0f, 0.0f, 0.0f);
    ExpectNear(out.corners[0], 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(out.planes[BoundingBox::Top].b, 0.0f);
}

TEST(BoundingBox, EnclosingPairNeedsNoScratchBoxesAndMayOverwriteItsInput) {
    const BoundingBox a = Box({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    const BoundingBox b = Box({-3.0f, 2.0f, 0.5f}, {-2.0f, 4.0f, 0.75f});
    const BoundingBox pair[2] = {a, b};
    BoundingBox expected;
    BoundingBox::FromBoxes(expected, pair, 0.5f);

    BoundingBox out = a;
    BoundingBox::EnclosingPair(out, out, b, 0.5f);
    for (int i = 0; i < 8; ++i) {
        ExpectNear(out.corners[i], expected.corners[i].x, expected.corners[i].y, expected.corners[i].z, 0.0f);
    }

    // The start-up and shut-down calls around it change nothing.
    Math::CreateScratchBoxes();
    Math::DestroyScratchBoxes();
    BoundingBox again;
    BoundingBox::EnclosingPair(again, a, b, 0.5f);
    ExpectNear(again.centre, expected.centre.x, expected.centre.y, expected.centre.z, 0.0f);
}
