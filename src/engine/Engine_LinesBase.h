#pragma once

#include "engine/Engine_Mesh.h"
#include "engine/Engine_Node.h"
#include "math/Math_Color.h"
#include "math/Math_Vector3D.h"

namespace Engine {

// What line lists and circle outlines share: the points (segment k joins
// points 2k and 2k + 1), one colour and an opacity drawn as its alpha, the
// update that takes over the parent's placement and the draw.
class LinesBase : public Node {
public:
    LinesBase& operator=(const LinesBase&) = delete;

    // The parent's world matrix becomes this node's; nothing else runs.
    void Update(float dt) override;
    // Queues the points as lines unless hidden or empty.
    void DrawSelf() override;
    void DrawTree() override { DrawSelf(); }

    // The alpha is kept but not drawn.
    void SetColor(const Color& color) { m_color = color; }
    const Color& GetColor() const { return m_color; }
    void SetOpacity(float opacity) { m_opacity = opacity; }
    float GetOpacity() const { return m_opacity; }
    const MeshList<Vector3D>& GetPoints() const { return m_points; }

protected:
    LinesBase() = default;
    LinesBase(const LinesBase& other) = default;

    MeshList<Vector3D> m_points;

private:
    Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
    float m_opacity = 1.0f;
};

}  // namespace Engine
