#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "math/Math_Matrix4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void ExpectNear(const Vector3D& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectCorners(const Vector3D (&corners)[8], const float (&expected)[8][3], float tolerance = 1e-5f) {
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectNear(corners[i], expected[i][0], expected[i][1], expected[i][2], tolerance);
    }
}

// The box from low to high, built the way the scene graph builds its boxes.
BoundingBox Box(const Vector3D& low, const Vector3D& high) {
    BoundingBox seed;
    Math::SetBoxCorners(seed.corners, low, high);
    BoundingBox box;
    return BoundingBox::FromBoxes(box, std::span(&seed, 1), 0.0f);
}

Frustum PerspectiveFrustum() {
    Frustum frustum;
    frustum.SetFromProjection(Matrix4::Perspective(90.0f, 1.0f, 1.0f, 3.0f));
    return frustum;
}

const BoundingBox kCentred = Box({-0.5f, -0.5f, -2.5f}, {0.5f, 0.5f, -1.5f});

}  // namespace

TEST(Matrix4, CompositionAndInverses) {
    ExpectNear(Matrix4::TransformPoint(Matrix4::Translation(1.0f, 2.0f, 3.0f), Vector3D()), 1.0f, 2.0f, 3.0f);
    ExpectNear(Matrix4::TransformPoint(Matrix4::RotationZ(90.0f), Vector3D(1.0f, 0.0f, 0.0f)), 0.0f, 1.0f, 0.0f);
    const Matrix4 a = Matrix4::Translation(1.0f, -2.0f, 0.5f) * Matrix4::RotationZ(30.0f);
    const Matrix4 b = Matrix4::Scaling(2.0f, 3.0f, 4.0f) * Matrix4::RotationZ(-75.0f);
    const Vector3D p(0.25f, -7.0f, 2.0f);
    const Vector3D stepwise = Matrix4::TransformPoint(a, Matrix4::TransformPoint(b, p));
    ExpectNear(Matrix4::TransformPoint(a * b, p), stepwise.x, stepwise.y, stepwise.z);
    const Vector4D moved = a * Vector4D(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(moved.x, 1.0f);
    EXPECT_EQ(moved.w, 1.0f);

    const Matrix4 placed = Matrix4::Translation(4.0f, -5.0f, 6.0f) * Matrix4::RotationZ(40.0f) *
                           Matrix4::Scaling(2.0f, 0.5f, 4.0f);
    EXPECT_NEAR(placed.Determinant(), 4.0f, 1e-5f);
    Matrix4 inverse = placed;
    inverse.Invert();
    const Matrix4 identity = inverse * placed;
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(identity[i], Matrix4()[i], 1e-6f) << i;
    }
    EXPECT_EQ(Matrix4::Inverse(placed).m, inverse.m);

    // Determinant 0.000125: only the by-value inverse has the tolerance band.
    const Matrix4 small = Matrix4::Scaling(0.05f, 0.05f, 0.05f);
    EXPECT_EQ(Matrix4::Inverse(small).m, small.m);
    Matrix4 inverted = small;
    inverted.Invert();
    EXPECT_NEAR(inverted[0], 20.0f, 1e-4f);
    EXPECT_NEAR(inverted[10], 20.0f, 1e-4f);
}

TEST(Frustum, PerspectiveCornersPlanesAndBoxes) {
    const Frustum frustum = PerspectiveFrustum();
    ExpectCorners(frustum.corners, {{1, 1, -1}, {-1, 1, -1}, {-3, 3, -3}, {3, 3, -3},
                                    {1, -1, -1}, {-1, -1, -1}, {-3, -3, -3}, {3, -3, -3}});
    // Unit normals pointing into the volume.
    for (const Plane& plane : frustum.planes) {
        EXPECT_NEAR(std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c), 1.0f, 1e-6f);
        EXPECT_EQ(Vector3D(0.0f, 0.2f, -2.0f).ClassifyToPlane(plane), Math::ClassifyFront);
    }

    const std::pair<BoundingBox, Math::ClassifyResult> cases[] = {
        {kCentred, Math::ClassifyInside},
        // Behind the far plane while straddling the four sides.
        {Box({-10.0f, -10.0f, -6.0f}, {10.0f, 10.0f, -5.0f}), Math::ClassifyOutside},
        {Box({-9.0f, -0.5f, -2.5f}, {-8.0f, 0.5f, -1.5f}), Math::ClassifyOutside},
        {Box({-0.4f, -0.4f, -1.5f}, {0.4f, 0.4f, -0.5f}), Math::ClassifyIntersecting},
        {Box({-10.0f, -10.0f, -10.0f}, {10.0f, 10.0f, 10.0f}), Math::ClassifyIntersecting},
    };
    for (const auto& [box, code] : cases) {
        EXPECT_EQ(frustum.ClassifyBox(box), code) << box.centre.x << ", " << box.centre.z;
    }
}

TEST(Frustum, TransformAndOrthographicProjection) {
    Frustum frustum = PerspectiveFrustum();
    const Matrix4 projection = frustum.projection;
    frustum.Transform(Matrix4::Translation(10.0f, 0.0f, 0.0f));
    EXPECT_EQ(frustum.projection.m, projection.m);
    ExpectNear(frustum.corners[6], 7.0f, -3.0f, -3.0f);
    EXPECT_EQ(frustum.ClassifyBox(Box({9.5f, -0.5f, -2.5f}, {10.5f, 0.5f, -1.5f})), Math::ClassifyInside);
    EXPECT_EQ(frustum.ClassifyBox(kCentred), Math::ClassifyOutside);

    // A quarter turn about z turns the right plane's normal towards -y.
    frustum = PerspectiveFrustum();
    frustum.Transform(Matrix4::RotationZ(90.0f));
    ExpectNear(frustum.planes[Frustum::Right].normal, 0.0f, -0.70710677f, -0.70710677f, 1e-6f);

    frustum.SetFromProjection(Matrix4::Orthographic(0.0f, 1024.0f, 768.0f, 0.0f));
    // Near -1 and far 1: the near face lies at z = 1.
    ExpectCorners(frustum.corners, {{1024, 0, 1}, {0, 0, 1}, {0, 0, -1}, {1024, 0, -1},
                                    {1024, 768, 1}, {0, 768, 1}, {0, 768, -1}, {1024, 768, -1}}, 1e-3f);
    EXPECT_EQ(frustum.ClassifyBox(Box({100.0f, 100.0f, -0.5f}, {200.0f, 200.0f, 0.5f})), Math::ClassifyInside);
    EXPECT_EQ(frustum.ClassifyBox(Box({1100.0f, 100.0f, -0.5f}, {1200.0f, 200.0f, 0.5f})), Math::ClassifyOutside);
}

TEST(BoundingBox, FromBoxesFacePlanesAndEnclosingPair) {
    const std::vector<BoundingBox> boxes = {Box({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}),
                                            Box({2.0f, -1.0f, 5.0f}, {3.0f, 0.0f, 6.0f})};
    BoundingBox out;
    BoundingBox::FromBoxes(out, boxes, 1.0f);
    ExpectNear(out.centre, 1.5f, 0.0f, 3.0f, 0.0f);
    ExpectCorners(out.corners, {{4, 2, 7}, {-1, 2, 7}, {-1, 2, -1}, {4, 2, -1},
                                {4, -2, 7}, {-1, -2, 7}, {-1, -2, -1}, {4, -2, -1}}, 0.0f);
    // A negative or NaN margin counts as 0.
    for (const float margin : {-5.0f, std::nanf("")}) {
        BoundingBox::FromBoxes(out, boxes, margin);
        ExpectNear(out.corners[0], 3.0f, 1.0f, 6.0f, 0.0f);
        ExpectNear(out.corners[6], 0.0f, -1.0f, 0.0f, 0.0f);
    }

    const BoundingBox box = Box({0.0f, 0.0f, 0.0f}, {2.0f, 3.0f, 4.0f});
    ExpectNear(box.planes[BoundingBox::Top].normal, 0.0f, 8.0f, 0.0f, 0.0f);  // outwards, the face's area long
    ExpectNear(box.planes[BoundingBox::Left].normal, -12.0f, 0.0f, 0.0f, 0.0f);
    for (const Plane& plane : box.planes) {
        EXPECT_EQ(box.centre.ClassifyToPlane(plane), Math::ClassifyBehind);
    }

    out = kCentred;
    BoundingBox::FromBoxes(out, {}, 3.0f);  // an empty list gives the zero box
    ExpectNear(out.corners[0], 0.0f, 0.0f, 0.0f, 0.0f);
    // No scratch boxes needed, and the output may be one of the inputs.
    const BoundingBox b = Box({-3.0f, 2.0f, 0.5f}, {-2.0f, 4.0f, 0.75f});
    const BoundingBox pair[2] = {kCentred, b};
    BoundingBox expected;
    BoundingBox::FromBoxes(expected, pair, 0.5f);
    out = kCentred;
    BoundingBox::EnclosingPair(out, out, b, 0.5f);
    const auto same = [](const Vector3D& a, const Vector3D& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
    EXPECT_TRUE(std::equal(std::begin(out.corners), std::end(out.corners), std::begin(expected.corners), same));
}
