#include "GUI_TestScene.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "gui/GUI_CursorManager.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_ResourcePaths.h"
#include "input/Input_MouseImp.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "pal/PAL_Window.h"

#include <limits>

using Core::RefPtr;
using GUI::Cursor;
using GUI::CursorManager;
using guitest::New;

namespace {

using Bytes = std::vector<std::uint8_t>;

class Cursors : public guitest::GuiScene {
protected:
    Cursors() {
        os::headless::ResetWindowSystem();
        os::headless::ResetCursor();
        mouse->SetWindow(window.GetHandle());
        resources.WriteCursor("Arrow.png", 16, 16);
        cursor = New<Cursor>(GUI::GetCursorFilePath("Arrow.png"));
        cursor->SetOffset({0, 32});
    }
    void MoveMouse(std::int32_t x, std::int32_t y) {
        mouse->SetPosition(x, y);
        mouse->Update();
    }

    PAL::Window window{800, 600};
    RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateInstance();
    RefPtr<CursorManager> manager = New<CursorManager>();
    RefPtr<Cursor> cursor;
};

TEST_F(Cursors, TheCursorIsA32UnitQuadHangingFromItsOffsetInFrontOfEverything) {
    MoveMouse(100, 200);
    manager->Update(0.016f);
    EXPECT_EQ(Queued(), 0u);  // no cursor yet

    manager->SetCursor(cursor);
    manager->Update(0.016f);
    ASSERT_EQ(Queued(), 1u);
    EXPECT_EQ(textures.Requests().back().fileName, std::string(GUI::GetCursorFilePath("Arrow.png")));
    EXPECT_TRUE(textures.Requests().back().mipmaps && cursor->GetTexture()->GetWidth() == 16);
    const Engine::TextRenderContext& quad = *cursor->GetRenderer();
    EXPECT_TRUE(quad.corners[0].x == 100 && quad.corners[0].y == 168 && quad.corners[2].x == 132 &&
                quad.corners[2].y == 200);
    EXPECT_EQ(quad.depth, std::numeric_limits<float>::max());
    EXPECT_TRUE(quad.texCoords[0] == Vector2D(0, 0) && quad.texCoords[2] == Vector2D(1, 1));

    queue.ClearScreenObjects();
    cursor->Draw({-100, -100});  // off screen
    EXPECT_TRUE(Queued() == 0 && quad.visible == 0);
    manager->SetCursor(nullptr);
    manager->Update(0.016f);
    EXPECT_EQ(Queued(), 0u);
}

TEST_F(Cursors, WithoutGraphicsOrMouseNothingIsDrawn) {
    manager->SetCursor(cursor);
    mouse = nullptr;
    manager->Update(0.016f);
    graphics = nullptr;
    cursor->Draw({10, 10});
    EXPECT_EQ(Queued(), 0u);
}

TEST_F(Cursors, TheLastManagerMadeIsTheProcessWideOneUntilItGoes) {
    EXPECT_EQ(CursorManager::GetInstance(), manager.Get());
    RefPtr<CursorManager> second(static_cast<CursorManager*>(CreateObjectByName("GUI::CursorManager")));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CursorManager::GetInstance(), second.Get());
    second = nullptr;
    EXPECT_EQ(CursorManager::GetInstance(), nullptr);
    manager = nullptr;  // no longer current: nothing to clear
    EXPECT_EQ(CursorManager::GetInstance(), nullptr);
}

TEST_F(Cursors, StreamsKeepOffsetAndFileAndRefuseOtherClasses) {
    manager->SetCursor(cursor);
    Core::MemoryFile file;
    file << manager.Get();
    const Bytes bytes(file.GetData(), file.GetData() + file.GetSize());
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const RefPtr<CursorManager> read(in.ReadObjectAs<CursorManager>(Core::File::Reference::Owning));
    ASSERT_TRUE(read != nullptr && read->GetCursor() != nullptr && read->GetCursor() != cursor);
    EXPECT_TRUE(read->GetCursor()->GetOffset() == Vector2D(0, 32) &&
                read->GetCursor()->GetTexture() == cursor->GetTexture());
    EXPECT_EQ(read->GetCursor()->GetFileName(), cursor->GetFileName());
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        Core::MemoryFile truncated(bytes.data(), static_cast<std::uint32_t>(cut));
        EXPECT_EQ(truncated.ReadObjectAs<CursorManager>(Core::File::Reference::Owning), nullptr) << cut;
    }
    // A manager whose cursor reference names another class keeps its cursor.
    Core::MemoryFile wrong;
    wrong.WriteObject(New<GUI::GuiImage>().Get());
    Core::MemoryFile wrongIn(wrong.GetData(), wrong.GetSize());
    manager->Load(wrongIn);
    EXPECT_TRUE(wrongIn.HasFailed() && manager->GetCursor() == cursor);
}

}  // namespace
