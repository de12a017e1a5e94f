#pragma once

#include "math/Math_Classification.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Plane.h"

struct BoundingBox;

// The viewing volume of a projection: the matrix it was built from, six
// planes whose unit normals point into the volume, and the eight corners.
struct Frustum {
    enum PlaneIndex { Top, Bottom, Near, Far, Right, Left, PlaneCount };

    Matrix4 projection;
    Plane planes[PlaneCount];
    // In eye space (looking along -z): 0..3 top near-right, near-left,
    // far-left, far-right; 4..7 the same at the bottom.
    Vector3D corners[8];

    void SetFromProjection(const Matrix4& projectionMatrix);
    // Moves planes and corners by m; the stored projection is kept.
    void Transform(const Matrix4& m);
    // Outside (2) when all corners lie behind one plane, partly inside (0)
    // when some corners lie behind a plane, else inside (3).
    Math::ClassifyResult ClassifyBox(const BoundingBox& box) const;
    // Whether ClassifyBox would answer outside, testing a plane's corners
    // only until one is not behind it.
    bool IsBoxOutside(const BoundingBox& box) const;
};
