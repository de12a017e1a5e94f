#include "Tundra_HostileRead.h"
#include "support/Tundra_TestGame.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Camera.h"
#include "engine/Engine_FontFile.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Viewport.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Text.h"

#include <cstring>

using namespace tundratest;

TEST_F(GameTest, ATextKeepsItsFontByFileNameAndComesBackWithTheSameFontAndHudFlag) {
    Start();
    const Core::String fontPath = Tundra::Game::GetDirectory() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont";
    const Core::RefPtr<Tundra::Text> text = TUN_NEW(Tundra::Text, "Score", fontPath);
    text->SetHUDObject(true);
    const Bytes bytes = Saved(text.Get());
    // The string, the font's file name, the HUD flag.
    const char tail[] = "\x05\0\0\0Score\x0B\0\0\0DefaultFont\x01";
    const std::size_t tailSize = sizeof tail - 1;
    ASSERT_GT(bytes.size(), tailSize);
    EXPECT_EQ(std::memcmp(bytes.data() + bytes.size() - tailSize, tail, tailSize), 0);

    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const Core::RefPtr<Tundra::Text> back = file.ReadObjectAs<Tundra::Text>(Core::File::Reference::Owning);
    ASSERT_TRUE(back != nullptr);
    EXPECT_EQ(back->GetText(), "Score");
    EXPECT_TRUE(back->IsHUDObject());
    EXPECT_EQ(back->GetTextNode()->GetFont(), text->GetTextNode()->GetFont());
    EXPECT_EQ(back->GetTextNode()->GetFont()->GetName(), fontPath);
    EXPECT_EQ(back->GetSceneNode()->GetChildCount(), 1u);

    // A stored name that is a path still names a font below the fonts folder.
    Bytes elsewhere = bytes;
    const char other[] = "..\\Other\\AB";
    std::memcpy(elsewhere.data() + elsewhere.size() - 12, other, 11);
    Core::MemoryFile otherFile(elsewhere.data(), static_cast<std::uint32_t>(elsewhere.size()));
    const Core::RefPtr<Tundra::Text> moved = otherFile.ReadObjectAs<Tundra::Text>(Core::File::Reference::Owning);
    ASSERT_TRUE(moved != nullptr);
    EXPECT_EQ(moved->GetTextNode()->GetFont()->GetName(),
              Tundra::Game::GetDirectory() + "\\Resources\\Fonts\\AB\\AB");

    // A hostile stream never sets the node's own screen flag, which would hide the text.
    ReadHostile<Tundra::Text>(bytes, 3000, [](const Tundra::Text& read) {
        EXPECT_FALSE(read.GetTextNode()->GetScreenFlag());
        EXPECT_EQ(read.GetSceneNode()->GetChildCount(), 1u);
    });
}

TEST_F(GameTest, OpacityAndColourReachTheTextAtTheNextTickAndAClonesStringIsItsOwn) {
    Start();
    const Core::RefPtr<Tundra::Text> text = TUN_NEW(Tundra::Text, "A", "");
    LayerAt(0).AddGameObject(text.Get());
    Step(1);
    text->SetOpacity(0.25f);
    text->SetModulationColor(Color(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(text->GetTextNode()->GetOpacity(), 1.0f);
    Step(1);
    EXPECT_EQ(text->GetTextNode()->GetOpacity(), 0.25f);
    EXPECT_EQ(text->GetTextNode()->GetColor().r, 0.0f);

    const Core::RefPtr<Tundra::Text> copy = static_cast<Tundra::Text*>(text->Clone());
    copy->SetText("B");
    EXPECT_EQ(text->GetText(), "A");
    EXPECT_NE(copy->GetTextNode(), text->GetTextNode());
    EXPECT_EQ(copy->GetTextNode()->GetFont(), text->GetTextNode()->GetFont());

    // The network sync form: the string, then the HUD flag.
    copy->SetHUDObject(true);
    Core::MemoryFile sync;
    copy->NetworkSyncSend(sync);
    Core::MemoryFile received(sync.GetData(), sync.GetSize());
    text->NetworkSyncReceive(received);
    EXPECT_EQ(text->GetText(), "B");
    EXPECT_TRUE(text->IsHUDObject());
}

using TextHud = testsupport::OffscreenRendererTest;

// A HUD text is placed in screen coordinates with (0, 0) at the centre, so
// the camera's pose never moves it. A white 32 x 32 font image: every
// glyph cell is white.
TEST_F(TextHud, AHudTextAtTheOriginDrawsAtTheScreensCentreWhereverTheCameraLooks) {
    const testsupport::TempDirectory dir;
    Engine::FontFile font{{0, 0, 0, 16, 0, 0, 20, 0}};
    font.glyphs['A' - 32] = {65, 0, 16, 0, 0, 0, 0.0f, 0, 0};
    testsupport::WriteBytes(dir.Path() + "/Font.tbf", Engine::EncodeFontFile(font, u"Face"));
    testsupport::SavePng(testsupport::FlatImage(32, 32, {255, 255, 255, 255}), dir.Path() + "/Font.png");
    const Core::RefPtr<Tundra::Text> text = TUN_NEW(Tundra::Text, "A", Core::String(dir.Path() + "\\Font"));
    text->SetHUDObject(true);
    text->SetPosition({0.0f, 0.0f});
    const Core::RefPtr<Engine::SceneGraph> scene = TUN_NEW(Engine::SceneGraph, &Renderer());
    const Core::RefPtr<Engine::TransformationGroup> stand = TUN_NEW(Engine::TransformationGroup);
    const Core::RefPtr<Engine::Camera> camera = TUN_NEW(Engine::Camera, 45.0f, 1.0f, 1000.0f);
    scene->AddChild(stand);
    stand->AddChild(camera);
    scene->AddChild(text->GetSceneNode());
    scene->SetViewportCount(1);
    for (const Matrix4& pose : {Matrix4::Translation(0.0f, 0.0f, 500.0f), Matrix4::Translation(900.0f, -700.0f, 50.0f),
                                Matrix4::RotationZ(90.0f)}) {
        stand->SetTransformation(pose);
        Renderer().ClearColorBuffer(Color(0.0f, 0.0f, 0.0f, 1.0f));
        scene->UpdateAsCurrent(0.016f);
        scene->Render(camera, TUN_NEW(Engine::Viewport, 0, 0, kWidth, kHeight));
        EXPECT_EQ(PixelAt(kWidth / 2 + 8, kHeight / 2 + 8), (testsupport::Rgba{255, 255, 255, 255}));
        EXPECT_EQ(PixelAt(kWidth / 2 - 8, kHeight / 2 - 8), (testsupport::Rgba{0, 0, 0, 255}));
    }
}
