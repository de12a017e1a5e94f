#include "support/Renderer_RecordingRenderer.h"

#include "core/Core_ClassRegistry.h"
#include "renderer/Renderer_States.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

// Render-state objects: each texture unit reaches its own slot of the
// renderer's cache, and Reset keeps what each type keeps.
namespace {

using namespace Renderer;

TEST(States, EachTextureUnitClassAppliesAndCapturesItsOwnUnit) {
    const Core::RefPtr<testsupport::RecordingRenderer> renderer(TUN_NEW(testsupport::RecordingRenderer));
    for (const bool capture : {false, true}) {
        for (int unit = 0; unit < 8; ++unit) {
            const std::string type = "TextureUnit" + std::to_string(unit) + "State";
            std::unique_ptr<Core::Object> object(CreateObjectByName(("Renderer::" + type).c_str()));
            auto& state = dynamic_cast<TexturingState&>(*object);
            if (capture) {
                state.Capture(*renderer);
                EXPECT_EQ(state.filter, unit) << type;
            } else {
                state.filter = unit;
                state.Apply(*renderer);
                EXPECT_EQ(renderer->Calls().back(), "Set" + type);
            }
        }
    }
}

TEST(States, ResetKeepsWhatEachTypeKeeps) {
    TextureUnit2State texturing;
    texturing.environmentMode = texturing.filter = texturing.wrapS = texturing.wrapT = 2;
    texturing.enabled = texturing.oneDimensional = true;
    texturing.coordinateGeneration = 1;
    texturing.Reset();
    // Generation and the target's dimension survive a reset.
    EXPECT_EQ(std::tuple(texturing.environmentMode, texturing.filter, texturing.wrapS, texturing.wrapT,
                         texturing.enabled, texturing.coordinateGeneration, texturing.oneDimensional),
              std::tuple(1, 0, 0, 0, false, std::uint8_t{1}, true));
    FogState fog;
    fog.mode = 2;
    fog.color = {0.1f, 0.2f, 0.3f, 0.4f};
    fog.enabled = true;
    fog.Reset();
    EXPECT_TRUE(fog.mode == 0 && !fog.enabled && fog.color.g == 0.2f) << "fog keeps its colour";
    Material material;
    material.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Reset();
    EXPECT_TRUE(material.diffuse.r == 0.0f && material.ambient.r == 0.2f && material.specular.r == 0.0f);
    CurrentColorState color;
    color.color = {0.0f, 0.0f, 0.0f, 0.0f};
    color.Reset();
    EXPECT_TRUE(color.color.r == 1.0f && color.color.a == 1.0f);
}

}  // namespace
