#include "math/Math_BoundingBox.h"

#include <algorithm>

namespace {

// The plane through corner from with the normal (to - from) x (across - from).
void SetFacePlane(Plane& plane, const Vector3D& from, const Vector3D& to, const Vector3D& across) {
    const Vector3D e1 = to - from;
    const Vector3D e2 = across - from;
    plane.SetFromPointNormal(from, Math::CrossProduct(e1.x, e1.y, e1.z, e2.x, e2.y, e2.z));
}

// Grows low and high around the box's corners, one corner after another.
void GrowAroundCorners(Vector3D& low, Vector3D& high, const BoundingBox& box) {
    for (const Vector3D& p : box.corners) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
}

float UsableBoxMargin(float margin) { return margin >= 0.0f ? margin : 0.0f; }

}  // namespace

BoundingBox& BoundingBox::FromBoxes(BoundingBox& out, std::span<const BoundingBox> boxes, float margin) {
    if (boxes.empty()) {
        out = BoundingBox();
        return out;
    }
    Vector3D low = boxes.front().corners[0];
    Vector3D high = low;
    for (const BoundingBox& box : boxes) {
        GrowAroundCorners(low, high, box);
    }
    return BetweenExtremes(out, low, high, margin);
}

BoundingBox& BoundingBox::EnclosingPair(BoundingBox& out, const BoundingBox& a, const BoundingBox& b, float margin) {
    // The extremes are taken before out is written, so out may be a or b.
    Vector3D low;
    Vector3D high;
    PairExtremes(low, high, a, b);
    return BetweenExtremes(out, low, high, margin);
}

void BoundingBox::PairExtremes(Vector3D& low, Vector3D& high, const BoundingBox& a, const BoundingBox& b) {
    low = a.corners[0];
    high = low;
    GrowAroundCorners(low, high, a);
    GrowAroundCorners(low, high, b);
}

void BoundingBox::CornersBetweenExtremes(BoundingBox& out, const Vector3D& low, const Vector3D& high, float margin) {
    const float m = UsableBoxMargin(margin);
    Math::SetBoxCorners(out.corners, {low.x - m, low.y - m, low.z - m}, {high.x + m, high.y + m, high.z + m});
}

BoundingBox& BoundingBox::BetweenExtremes(BoundingBox& out, const Vector3D& low, const Vector3D& high, float margin) {
    // The centre is the midpoint of the extremes, before the margin.
    out.centre = {(low.x + high.x) * 0.5f, (low.y + high.y) * 0.5f, (low.z + high.z) * 0.5f};
    CornersBetweenExtremes(out, low, high, margin);
    const Vector3D(&c)[8] = out.corners;
    SetFacePlane(out.planes[Top], c[0], c[3], c[1]);
    SetFacePlane(out.planes[Bottom], c[4], c[5], c[7]);
    SetFacePlane(out.planes[Near], c[4], c[0], c[5]);
    SetFacePlane(out.planes[Far], c[6], c[2], c[7]);
    SetFacePlane(out.planes[Right], c[4], c[7], c[0]);
    SetFacePlane(out.planes[Left], c[5], c[1], c[6]);
    return out;
}
