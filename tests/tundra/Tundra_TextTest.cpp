#include "Tundra_HostileRead.h"
#include "Tundra_TestGame.h"

#include "core/Core_MemoryFile.h"
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
