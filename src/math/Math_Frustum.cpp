#include "math/Math_Frustum.h"

#include "math/Math_BoundingBox.h"

#include <algorithm>
#include <iterator>

namespace {

// Stores (a, b, c, d) scaled to a unit normal; a zero normal is not guarded.
void SetNormalizedPlane(Plane& plane, const Vector4D& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    plane.SetFromCoefficients(v.x / length, v.y / length, v.z / length, v.w / length);
}

Vector4D Row(const Matrix4& p, int k) { return {p[k], p[k + 4], p[k + 8], p[k + 12]}; }
Vector4D Sum(const Vector4D& u, const Vector4D& v) { return {u.x + v.x, u.y + v.y, u.z + v.z, u.w + v.w}; }
Vector4D Difference(const Vector4D& u, const Vector4D& v) { return {u.x - v.x, u.y - v.y, u.z - v.z, u.w - v.w}; }

}  // namespace

void Frustum::SetFromProjection(const Matrix4& projectionMatrix) {
    projection = projectionMatrix;
    const Matrix4& p = projection;
    const Vector4D row0 = Row(p, 0);
    const Vector4D row1 = Row(p, 1);
    const Vector4D row2 = Row(p, 2);
    const Vector4D row3 = Row(p, 3);
    SetNormalizedPlane(planes[Top], Difference(row3, row1));
    SetNormalizedPlane(planes[Bottom], Sum(row3, row1));
    SetNormalizedPlane(planes[Near], Sum(row3, row2));
    SetNormalizedPlane(planes[Far], Difference(row3, row2));
    SetNormalizedPlane(planes[Right], Difference(row3, row0));
    SetNormalizedPlane(planes[Left], Sum(row3, row0));

    if (p[11] == 0.0f) {
        // Orthographic: the perspective formulas below would divide 0 by 0.
        // Map the clip-space cube back through the affine parts instead:
        // left, bottom and far from -1, -1 and 1, the others from the
        // opposite faces, in the frustum's corner order.
        const Vector3D leftBottomFar((-1.0f - p[12]) / p[0], (-1.0f - p[13]) / p[5], (1.0f - p[14]) / p[10]);
        const Vector3D rightTopNear((1.0f - p[12]) / p[0], (1.0f - p[13]) / p[5], (-1.0f - p[14]) / p[10]);
        Math::SetBoxCorners(corners, leftBottomFar, rightTopNear);
        return;
    }
    const float n = p[14] / (p[10] - 1.0f);
    const float f = p[14] / (p[10] + 1.0f);
    const float xn = n * (1.0f + p[8]) / p[0];
    const float yn = n * (1.0f + p[9]) / p[5];
    const float xf = xn * (f / n);
    const float yf = yn * (f / n);
    corners[0] = {xn, yn, -n};
    corners[1] = {-xn, yn, -n};
    corners[2] = {-xf, yf, -f};
    corners[3] = {xf, yf, -f};
    corners[4] = {xn, -yn, -n};
    corners[5] = {-xn, -yn, -n};
    corners[6] = {-xf, -yf, -f};
    corners[7] = {xf, -yf, -f};
}

void Frustum::Transform(const Matrix4& m) {
    // Planes move by the inverse transpose, points by the matrix itself.
    Matrix4 inverseTranspose = m;
    inverseTranspose.Invert();
    inverseTranspose.Transpose();
    for (Plane& plane : planes) {
        SetNormalizedPlane(plane, inverseTranspose * Vector4D(plane.a, plane.b, plane.c, plane.d));
    }
    for (Vector3D& corner : corners) {
        corner = Matrix4::TransformPoint(m, corner);
    }
}

namespace {

// ClassifyToPlane's verdict behind, with its distance (a square root) taken
// only for corners on the back side.
bool CornerBehindPlane(const Vector3D& corner, const Plane& plane) {
    const Vector3D offset = corner - plane.point;
    return plane.normal.Dot(offset) < 0.0f && !Math::IsNegligible(offset.Length(), Math::kOnPlaneTolerance);
}

}  // namespace

Math::ClassifyResult Frustum::ClassifyBox(const BoundingBox& box) const {
    Math::ClassifyResult result = Math::ClassifyInside;
    for (const Plane& plane : planes) {
        int behind = 0;
        for (const Vector3D& corner : box.corners) {
            behind += CornerBehindPlane(corner, plane) ? 1 : 0;
        }
        if (behind == 8) {
            return Math::ClassifyOutside;
        }
        if (behind > 0) {
            result = Math::ClassifyIntersecting;
        }
    }
    return result;
}

bool Frustum::IsBoxOutside(const BoundingBox& box) const {
    for (const Plane& plane : planes) {
        if (std::all_of(std::begin(box.corners), std::end(box.corners),
                        [&](const Vector3D& corner) { return CornerBehindPlane(corner, plane); })) {
            return true;
        }
    }
    return false;
}
