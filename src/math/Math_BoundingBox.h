#pragma once

#include "math/Math_Plane.h"

#include <span>

// An axis-aligned box: its centre, eight corners in the frustum's corner
// order (larger z on the near side) and six face planes with outward normals
// whose lengths are the face areas. A new box is all zero.
struct BoundingBox {
    enum PlaneIndex { Top, Bottom, Near, Far, Right, Left, PlaneCount };

    Vector3D centre;
    Vector3D corners[8];
    Plane planes[PlaneCount];

    // The box around every corner of boxes, grown by margin on every side
    // (a negative or NaN margin counts as 0); the centre is the midpoint of
    // the extremes. An empty list gives a new, all-zero box.
    static BoundingBox& FromBoxes(BoundingBox& out, std::span<const BoundingBox> boxes, float margin);
    // The box around a and b, grown by margin.
    static BoundingBox& EnclosingPair(BoundingBox& out, const BoundingBox& a, const BoundingBox& b, float margin);

    // EnclosingPair in steps, for a run of enclosures into one box that needs
    // centre and face planes only from the last: the extremes it grows around
    // a's corners then b's, the corners alone it places between them, and
    // the whole box it makes of them.
    static void PairExtremes(Vector3D& low, Vector3D& high, const BoundingBox& a, const BoundingBox& b);
    static void CornersBetweenExtremes(BoundingBox& out, const Vector3D& low, const Vector3D& high, float margin);
    static BoundingBox& BetweenExtremes(BoundingBox& out, const Vector3D& low, const Vector3D& high, float margin);
};

namespace Math {

// Fills the eight corners of a box in the shared corner order: 0 (X, Y, Z),
// 1 (x, Y, Z), 2 (x, Y, z), 3 (X, Y, z), 4 (X, y, Z), 5 (x, y, Z), 6 (x, y, z),
// 7 (X, y, z), with (x, y, z) = low and (X, Y, Z) = high.
inline void SetBoxCorners(Vector3D (&corners)[8], const Vector3D& low, const Vector3D& high) {
    corners[0] = {high.x, high.y, high.z};
    corners[1] = {low.x, high.y, high.z};
    corners[2] = {low.x, high.y, low.z};
    corners[3] = {high.x, high.y, low.z};
    corners[4] = {high.x, low.y, high.z};
    corners[5] = {low.x, low.y, high.z};
    corners[6] = {low.x, low.y, low.z};
    corners[7] = {high.x, low.y, low.z};
}

// The engine's start-up and shut-down bracket the life of the scratch boxes
// of EnclosingPair. EnclosingPair now works on its own temporaries, so it is
// reentrant and usable at any time and these have nothing left to do.
inline void CreateScratchBoxes() {}
inline void DestroyScratchBoxes() {}

}  // namespace Math
