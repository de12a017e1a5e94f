#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ParticleEffect.h"

// The engine's fixed effects. Each has one technique with one pass whose
// states are saved and restored around every draw; every call makes new
// objects, shared with no other effect. Every one tests depth with "less"
// and never writes depth.
namespace Renderer {

// Depth, blending, no culling; blended. Transformation groups, cameras and
// copied scene graphs.
Core::RefPtr<Effect> CreateDefaultEffect();
// Texture unit 0 modulating, linear, repeating; depth, blending, alpha
// test, lighting off, no culling. Texts and the GUI's graphics.
Core::RefPtr<Effect> CreateTexturedEffect();
// Texture unit 0 modulating, nearest, clamped to the edge; depth, blending,
// alpha test, lighting off (culling untouched). Texts.
Core::RefPtr<Effect> CreateTextEffect();
// Texture unit 0 replacing, linear, repeating; depth only. Backgrounds.
Core::RefPtr<Effect> CreateTextureDepthEffect();
// White colour, texture unit 0 modulating, linear, clamped to the edge;
// depth, blending, alpha test, lighting off, no culling; blended. Sprites.
Core::RefPtr<Effect> CreateColoredTexturedEffect();
// As the textured effect with a white colour first; its blending state is
// the blend target. Blended. Particles.
Core::RefPtr<ParticleEffect> CreateParticleEffect();
// White colour, lighting off, depth, blending, alpha test. Lines.
Core::RefPtr<Effect> CreateColorEffect();
// The same effect as CreateColorEffect, made separately. Points.
Core::RefPtr<Effect> CreateColorEffectSecond();

}  // namespace Renderer
