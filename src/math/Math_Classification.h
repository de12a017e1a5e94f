#pragma once

namespace Math {

// The result of every shape, plane and volume classification. The numbers
// are stored and handed to scripts, so they never change; unlisted numbers
// are never produced.
enum ClassifyResult : int {
    ClassifyIntersecting = 0,      // crossing (points written), on a boundary, or partly inside
    ClassifyNone = 1,              // no common point
    ClassifyOutside = 2,           // outside, apart
    ClassifyInside = 3,            // inside
    ClassifyFront = 8,             // in front of a plane
    ClassifyBehind = 9,            // behind a plane
    ClassifyTangent = 13,          // touching a circle in one point
    ClassifyOnePoint = 14,         // crossing a circle in one point
    ClassifyTwoPoints = 15,        // crossing a circle in two points
    ClassifyCoincident = 19,       // on one line and overlapping, or the same line or circle
    ClassifyParallel = 20,         // parallel, on different lines
    ClassifyCollinearApart = 21,   // on one line without a common piece
    ClassifyOppositeOverlap = 22,  // two rays on one line pointing at each other
    ClassifyContainsRay = 23,      // one ray lies within the other
    ClassifyContains = 26,         // this circle contains the other
    ClassifyTangentInside = 27,    // circles touching from inside
    ClassifyTangentOutside = 28,   // circles touching from outside
};

}  // namespace Math
