#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Lines.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {

// The debug outlines draw in their object's modulation colour and opacity.
void SyncLinesAppearance(const GameObject& object, Engine::LinesBase* node);

// One line segment drawn under the object's node, in the object's colour
// and opacity; the layer and sprites show collision geometry with it. Made
// by the class registry it has no segment until Load: its setters then do
// nothing and its getters give the origin.
class Line : public GameObject {
    TUN_DECLARE_CLASS(Line);
    Line() = default;
    Line(const Vector2D& start, const Vector2D& end);
    Line(const Line& other);
    Line& operator=(const Line&) = delete;

    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void RenderSync(float dt) override;

    void SetStartPoint(const Vector2D& point);
    void SetEndPoint(const Vector2D& point);
    Vector2D GetStartPoint() const;
    Vector2D GetEndPoint() const;
    const Core::RefPtr<Engine::Lines>& GetLinesNode() const { return m_lines; }

private:
    void MakeNode(const Vector2D& start, const Vector2D& end);

    Core::RefPtr<Engine::Lines> m_lines;
};

}  // namespace Tundra
