#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4.h"

namespace Engine {

// A node's box: the local box in its own space and the current box, whose
// eight corners the update computes in world space, with a debug mesh that
// shows the current box as twelve translucent triangles.
class BoundingVolume {
public:
    // Draws the mesh colour from the shared C-runtime sequence (three values).
    BoundingVolume();
    // Copies both boxes and clones the debug mesh.
    BoundingVolume(const BoundingVolume& other);
    BoundingVolume& operator=(const BoundingVolume&) = delete;

    // Each current corner becomes matrix times the matching local corner.
    void Transform(const Matrix4& matrix);
    // Grows the current box to enclose the other's current box.
    void Merge(const BoundingVolume& other);
    // Both boxes become box; the mesh follows.
    void SetBox(const BoundingBox& box);
    // Copies the eight current corners into the mesh's vertices.
    void UpdateMesh();

    const BoundingBox& GetBox() const {
        CompleteMerges();
        return m_current;
    }
    const BoundingBox& GetLocalBox() const { return m_local; }
    const Core::RefPtr<Mesh>& GetMesh() const { return m_mesh; }

private:
    // Whether the local corners lie in SetBoxCorners' order and form, so
    // that each product of a matrix element with a coordinate serves all the
    // corners that share the coordinate.
    static bool HasBoxCornerForm(const BoundingBox& box);
    // Merges place the corners at once; centre and face planes only the
    // last merge's extremes decide, so they are made when next needed.
    void CompleteMerges() const;

    // What an update reads and writes lies together, ahead of the rest: the
    // local box's low and high corners (its whole form when it has the box
    // corner form) and the current box, whose face planes follow its corners.
    bool m_localHasBoxCornerForm = false;
    mutable bool m_mergesPending = false;
    Vector3D m_localLow;
    Vector3D m_localHigh;
    mutable BoundingBox m_current;
    Vector3D m_mergedLow;
    Vector3D m_mergedHigh;
    BoundingBox m_local;
    Core::RefPtr<Mesh> m_mesh;
};

}  // namespace Engine
