#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "math/Math_Matrix3.h"
#include "math/Math_Matrix4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Translations up to 1000 carry rounding errors of about 1e-4.
void ExpectIdentity(const Matrix3& actual) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(actual[i], Matrix3()[i], (i == 2 || i == 5) ? 2e-4f : 1e-6f) << "element " << i;
    }
}

// Rotate by degrees, then move to (x, y).
Matrix3 Placement(float degrees, float x, float y) { return Matrix3::Translation(x, y) * Matrix3::Rotation(degrees); }

void ExpectNear(const Vector3D& v, float x, float y, float z, float tolerance = 1e-5f) {
    const auto near = [tolerance](float a, float b) { return std::abs(a - b) <= tolerance; };
    EXPECT_TRUE(near(v.x, x) && near(v.y, y) && near(v.z, z)) << v.x << ", " << v.y << ", " << v.z;
}

void ExpectCorners(const Vector3D (&corners)[8], const float (&expected)[8][3], float tolerance = 1e-5f) {
    for (int i = 0; i < 8; ++i) {
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

TEST(Matrix3, PlacementRotatesThenMovesAndItsInverseUndoesIt) {
    const Matrix3 placement = Placement(90.0f, 5.0f, 0.0f);
    const Point2D placed = Matrix3::TransformPoint(placement, Point2D(1.0f, 0.0f));
    EXPECT_TRUE(std::abs(placed.x - 5.0f) < 1e-6f && std::abs(placed.y - 1.0f) < 1e-6f);
    // The bottom-row form turns an offset without moving it...
    const Vector2D offset = Matrix3::TransformPointBottomRow(placement, Vector2D(1.0f, 0.0f));
    EXPECT_TRUE(std::abs(offset.x) < 1e-6f && std::abs(offset.y - 1.0f) < 1e-6f);
    // ...because it adds elements 6 and 7, not the translation.
    const Matrix3 m({1.0f, 0.0f, 100.0f, 0.0f, 1.0f, 200.0f, 3.0f, 4.0f, 1.0f});
    EXPECT_EQ(Matrix3::TransformPointBottomRow(m, Vector2D(1.0f, 1.0f)), Vector2D(4.0f, 5.0f));
    for (const Matrix3& placement : {Placement(90.0f, 5.0f, 0.0f), Placement(-37.5f, -12.0f, 3.25f),
                                     Placement(200.0f, 1000.0f, -250.0f)}) {
        Matrix3 inverse;
        ASSERT_TRUE(Matrix3::Inverse(placement, inverse));
        ExpectIdentity(inverse * placement);
        ExpectIdentity(placement * inverse);
        Matrix3 inPlace = placement;  // the output may be the input itself
        ASSERT_TRUE(Matrix3::Inverse(inPlace, inPlace));
        EXPECT_EQ(inPlace.m, inverse.m);
    }
    const Matrix3 singular[] = {
        Matrix3({0.01f, 0.0f, 0.0f, 0.0f, 0.01f, 0.0f, 0.0f, 0.0f, 1.0f}),  // determinant 0.0001
        Matrix3({1.0f, 2.0f, 3.0f, 2.0f, 4.0f, 6.0f, 0.0f, 0.0f, 1.0f}),
        Matrix3({std::nanf(""), 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}),
    };
    for (const Matrix3& m : singular) {
        Matrix3 out = Matrix3::Translation(7.0f, 8.0f);
        EXPECT_FALSE(Matrix3::Inverse(m, out));
        EXPECT_EQ(out.m, Matrix3::Translation(7.0f, 8.0f).m);
    }
    Matrix3 out;
    EXPECT_TRUE(Matrix3::Inverse(Matrix3({0.025f, 0, 0, 0, 0.025f, 0, 0, 0, 1}), out) && std::abs(out[0] - 40) < 1e-4f);
}

TEST(Matrix4, CompositionAndInverses) {
    const Matrix4 a = Matrix4::Translation(1.0f, -2.0f, 0.5f) * Matrix4::RotationZ(30.0f);
    const Matrix4 b = Matrix4::Scaling(2.0f, 3.0f, 4.0f) * Matrix4::RotationZ(-75.0f);
    const Vector3D p(0.25f, -7.0f, 2.0f);
    const Vector3D stepwise = Matrix4::TransformPoint(a, Matrix4::TransformPoint(b, p));
    ExpectNear(Matrix4::TransformPoint(a * b, p), stepwise.x, stepwise.y, stepwise.z);
    const Vector4D moved = a * Vector4D(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(moved.x == 1.0f && moved.w == 1.0f);
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
    EXPECT_TRUE(std::abs(inverted[0] - 20.0f) < 1e-4f && std::abs(inverted[10] - 20.0f) < 1e-4f);
}

TEST(Frustum, PerspectiveAndOrthographicCornersPlanesBoxesAndTransforms) {
    Frustum frustum = PerspectiveFrustum();
    ExpectCorners(frustum.corners, {{1, 1, -1}, {-1, 1, -1}, {-3, 3, -3}, {3, 3, -3},
                                    {1, -1, -1}, {-1, -1, -1}, {-3, -3, -3}, {3, -3, -3}});
    for (const Plane& plane : frustum.planes) {  // unit normals pointing into the volume
        EXPECT_NEAR(std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c), 1.0f, 1e-6f);
        EXPECT_EQ(Vector3D(0.0f, 0.2f, -2.0f).ClassifyToPlane(plane), Math::ClassifyFront);
    }
    const std::pair<BoundingBox, Math::ClassifyResult> cases[] = {
        {kCentred, Math::ClassifyInside},
        {Box({-10.0f, -10.0f, -6.0f}, {10.0f, 10.0f, -5.0f}), Math::ClassifyOutside},  // beyond far, across sides
        {Box({-9.0f, -0.5f, -2.5f}, {-8.0f, 0.5f, -1.5f}), Math::ClassifyOutside},
        {Box({-0.4f, -0.4f, -1.5f}, {0.4f, 0.4f, -0.5f}), Math::ClassifyIntersecting},
        {Box({-10.0f, -10.0f, -10.0f}, {10.0f, 10.0f, 10.0f}), Math::ClassifyIntersecting},
    };
    for (const auto& [box, code] : cases) {
        EXPECT_EQ(frustum.ClassifyBox(box), code) << box.centre.x << ", " << box.centre.z;
    }
    frustum = PerspectiveFrustum();
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
    for (const float margin : {-5.0f, std::nanf("")}) {  // a negative or NaN margin counts as 0
        BoundingBox::FromBoxes(out, boxes, margin);
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
