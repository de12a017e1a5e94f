#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>

// One queued draw, built by its submitter and copied into the render queue.
// An item with a mesh draws one sub-range of it; one without draws the
// borrowed vertex array as points or lines.
struct RenderItem {
    Matrix4 worldMatrix;
    // Texture coordinates of unit 0 (mesh items).
    Matrix4 textureMatrix;
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    Core::RefPtr<Renderer::Effect> effect;
    Core::RefPtr<Engine::Mesh> mesh;
    // Sprite and particle items: goes into slot 1 of the effect.
    Core::RefPtr<Renderer::ITexture> texture;
    std::uint32_t primitiveType = 4;
    // Packed (x, y, z) triples; must live until the flush that draws them.
    const float* vertices = nullptr;
    // Written by the queue when it sorts.
    float depth = 0.0f;
    std::int32_t subRange = -1;
    std::uint32_t vertexCount = 0;
    // Particle items: engine blend factors.
    std::uint32_t sourceBlendFactor = 6;
    std::uint32_t destinationBlendFactor = 7;
    // Drawn with the queue's sprite quad and coloured-textured effect.
    bool sprite = false;
    // Drawn in the last viewport's overlay pass, one unit per window pixel at z = 0.
    bool screenSpace = false;
    // Drawn with the queue's particle effect and the two blend factors.
    bool particle = false;
};
