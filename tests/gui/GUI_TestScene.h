#pragma once

#include "GUI_ControlProbe.h"

#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Graphics.h"
#include "support/GUI_TestResources.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace guitest {

// What the GUI draws with, without OpenGL: a 1024 x 768 recording renderer,
// the render queue, fake textures, a temporary resources tree and the
// graphics object; fonts are cached as the application caches them.
class GuiScene : public testing::Test {
protected:
    GuiScene() { Engine::BitmapFontCache::SetInstance(&fonts); }
    ~GuiScene() override { Engine::BitmapFontCache::SetInstance(nullptr); }

    std::size_t Queued() const { return queue.GetScreenObjectCount(); }

    testsupport::GuiTestResources resources;
    testsupport::FakeTextureCache textures;
    Core::RefPtr<testsupport::RecordingRenderer> renderer = New<testsupport::RecordingRenderer>();
    Engine::BitmapFontCache fonts;
    RenderQueue queue;
    std::unique_ptr<GUI::Graphics> graphics = std::make_unique<GUI::Graphics>();
};

}  // namespace guitest
