#include "GUI_WidgetScene.h"

#include "core/Core_MemoryFile.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_RadioButton.h"
#include "os/OS_ByteOrder.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <vector>

using Core::RefPtr;
using GUI::Form;
using guitest::New;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes with the word `shift` bytes past the first run of the
// little-endian words `mark` replaced by value.
Bytes Patched(Bytes bytes, std::initializer_list<std::uint32_t> mark, std::size_t shift, std::uint32_t value) {
    Bytes words;
    for (const std::uint32_t word : mark) {
        words.resize(words.size() + 4);
        os::StoreU32LE(&words[words.size() - 4], word);
    }
    const auto found = std::search(bytes.begin(), bytes.end(), words.begin(), words.end());
    if (found == bytes.end()) {
        ADD_FAILURE() << "mark not found";
        return bytes;
    }
    os::StoreU32LE(&*found + shift, value);
    return bytes;
}

bool operator==(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

// A default form at (20, 0): caption from y 224 to 256, close button at (254, 234).
class Forms : public guitest::WidgetScene {
protected:
    Forms() {
        form->SetPosition({20, 0});
        hud->AddForm(form.Get());
        Frame();
    }
    void Press(float x, float y) {
        MoveTo(x, y);
        Frame();
        Frame();
        HoldLeft(true);
        Frame();
    }
    void Release() {
        HoldLeft(false);
        Frame();
    }

    RefPtr<Form> form = New<Form>();
};

TEST_F(Forms, DefaultWindowLayout) {
    EXPECT_EQ(form->GetClientRectangle(), GUI::NRectangle(28, 8, 240, 216));
    EXPECT_TRUE(form->GetModulationColor() == Form::DefaultActiveColor());
    EXPECT_TRUE(form->GetInactiveModulationColor() == Form::DefaultInactiveColor());
    const struct {
        GUI::GuiImage* image;
        GUI::NRectangle place;
        std::uint32_t pieceSet;
    } frames[] = {{form->GetCaptionImage(), {20, 224, 256, 32}, 0},
                  {form->GetBottomBorderImage(), {20, 0, 256, 8}, 3},
                  {form->GetLeftBorderImage(), {20, 8, 8, 216}, 1},
                  {form->GetRightBorderImage(), {268, 8, 8, 216}, 2}};
    for (const auto& frame : frames) {
        const Vector2D corner = frame.image->GetPosition();
        EXPECT_EQ(GUI::NRectangle(corner.x, corner.y, frame.image->GetWidth(), frame.image->GetHeight()), frame.place);
        EXPECT_EQ(frame.image->GetPieceSet(), frame.pieceSet);
    }
    const GUI::Button& close = *form->GetCloseButton();
    EXPECT_EQ(close.GetRectangle(), GUI::NRectangle(254, 234, 20, 20));
    EXPECT_EQ(close.GetName(), Form::kCloseButtonName);
    EXPECT_EQ(close.GetSkinImage()->GetPosition(), Vector2D(254, 234));
    EXPECT_EQ(close.GetSkinImage()->GetPieceSet(), 4u);
    EXPECT_FALSE(close.GetTabStop() || close.GetAcceptsEnter());
}

TEST_F(Forms, CloseButtonSideFollowsTheCaption) {
    const std::pair<float, float> cases[] = {{10, 8}, {1, 2}, {40, 20}};
    for (const auto& [caption, side] : cases) {
        form->SetCaptionHeight(caption);
        EXPECT_EQ(form->GetCloseButton()->GetWidth(), side) << caption;
        EXPECT_EQ(form->GetCloseButton()->GetPosition(), Vector2D(256 - 8 - side - 2, 256 - 8 - side - 2));
        EXPECT_EQ(form->GetCaptionImage()->GetPosition(), Vector2D(20, 256 - caption));
        EXPECT_EQ(form->GetClientRectangle().GetHeight(), 256 - 8 - caption);
    }
    form->SetCaptionHeight(-1);
    form->SetLeftBorderWidth(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(form->GetCaptionHeight(), 40);
    EXPECT_EQ(form->GetLeftBorderWidth(), 8);
}

TEST_F(Forms, CaptionDragsKeepingTheGrabPoint) {
    Press(100, 230);
    EXPECT_TRUE(form->IsDragging());
    MoveTo(150, 200);
    Frame();
    EXPECT_EQ(form->GetPosition(), Vector2D(70, -30));
    EXPECT_EQ(form->GetCaptionImage()->GetPosition(), Vector2D(70, 194));
    Release();
    EXPECT_FALSE(form->IsDragging());
    Press(100, 100);  // the client area
    MoveTo(130, 130);
    Frame();
    Release();
    EXPECT_EQ(form->GetPosition(), Vector2D(70, -30));
}

TEST_F(Forms, ShowOnlyControlsDrawsNoFrameNorDrags) {
    form->SetShowOnlyControls(true);
    form->SetCloseButtonVisible(true);
    EXPECT_FALSE(form->GetCloseButton()->GetOwnVisible());
    queue.ClearScreenObjects();
    Press(100, 230);
    EXPECT_FALSE(form->IsDragging());
    EXPECT_EQ(Queued(), 3u);  // the cursor, once a frame
    Release();
    form->SetShowOnlyControls(false);
    EXPECT_TRUE(form->GetCloseButton()->GetOwnVisible());
    form->SetVisible(false);
    EXPECT_FALSE(form->GetCloseButton()->GetOwnVisible());
}

TEST_F(Forms, PressOutsideAModalFormBlinksIt) {
    form->SetSize({120, 120});
    auto other = New<Form>();
    other->SetSize({100, 100});
    other->SetPosition({180, 20});
    hud->AddForm(other.Get());
    form->SetModal(true);
    std::vector<int> presses;
    other->AddEventHandler(GUI::ControlEvent::MouseDown, std::make_shared<guitest::LoggedEvent>(presses, 11));
    MoveTo(230, 70);
    Frame();
    Frame();
    HoldLeft(true);
    std::vector<bool> active;
    for (int frame = 0; frame < 14; ++frame) {
        Frame(0.06f);
        active.push_back(form->GetCaptionImage()->GetColor() == Form::DefaultActiveColor());
    }
    // Switching each time the 0.1 s toggle runs over (every other 0.06 s frame),
    // then back in the active colour after 0.8 s.
    EXPECT_EQ(active, (std::vector<bool>{false, true, true, false, false, true, true, false, false, true, true, false,
                                         false, true}));
    EXPECT_FALSE(form->IsBlinking());
    EXPECT_TRUE(presses.empty());
    form->SetModal(false);
    EXPECT_EQ(hud->GetModalForm(), nullptr);
}

TEST_F(Forms, CloseButtonRemovesTheFormAfterTheNextFrame) {
    Press(260, 236);
    Release();
    EXPECT_EQ(hud->GetFormCount(), 1u);
    EXPECT_FALSE(hud->IsRegistered(form.Get()));
    Frame();
    EXPECT_EQ(hud->GetFormCount(), 0u);
}

// The close button follows the form's opacity once, not squared.
TEST_F(Forms, OpacityReachesFrameAndCloseButtonOnce) {
    form->SetOpacity(0.5f);
    EXPECT_EQ(form->GetCaptionImage()->GetOpacity(), 0.5f);
    EXPECT_EQ(form->GetCloseButton()->GetSkinImage()->GetOpacity(), 0.5f);
    EXPECT_EQ(form->GetCloseButton()->GetOpacity(), 1.0f);
}

TEST_F(Forms, StreamKeepsWidgetsAndHooksTheCloseButtonAgain) {
    form->SetCaptionHeight(24);
    form->SetText("Title");
    auto button = New<GUI::Button>();
    button->SetHoverPieceSet(7);
    auto radio = New<GUI::RadioButton>();
    radio->SetChecked(true);
    form->AddControl(button.Get());
    form->AddControl(radio.Get());
    Frame();
    Core::MemoryFile file;
    hud->WriteInformation(file);
    hud->Clear();
    form = nullptr;
    Core::MemoryFile read(file.GetData(), file.GetSize());
    hud->ReadInformation(read);
    ASSERT_FALSE(read.HasFailed());
    ASSERT_EQ(hud->GetFormCount(), 1u);
    auto* loaded = dynamic_cast<Form*>(hud->GetForm(0u));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetCaptionHeight(), 24);
    EXPECT_EQ(loaded->GetClientRectangle(), GUI::NRectangle(28, 8, 240, 224));
    const auto* loadedButton = dynamic_cast<GUI::Button*>(loaded->GetControl(1u));
    const auto* loadedRadio = dynamic_cast<GUI::RadioButton*>(loaded->GetControl(2u));
    ASSERT_TRUE(loadedButton != nullptr && loadedRadio != nullptr);
    EXPECT_EQ(loadedButton->GetPieceSetOf(GUI::Button::State::Hover), 7u);
    EXPECT_TRUE(loadedRadio->GetChecked());
    EXPECT_EQ(loaded->GetCloseButton(), loaded->GetControl(0u));
    loaded->GetCloseButton()->FireClick();
    Frame();
    Frame();
    EXPECT_EQ(hud->GetFormCount(), 0u);
}

// A button state naming no look and a border that is not finite fail the stream.
TEST_F(Forms, StreamsRefuseValuesTheWidgetsCannotHold) {
    constexpr std::uint32_t kMark = 0x5A5A5A5A;
    form->SetCaptionHeight(23.25f);
    auto button = New<GUI::Button>();
    button->SetFocusedPieceSet(kMark);  // the last piece-set field: the state follows it
    const auto bytesOf = [](const Core::Object* object) {
        Core::MemoryFile file;
        file << object;
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    const auto loads = [](const Bytes& bytes) {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        return file.ReadObjectAs<Core::Object>() != nullptr && !file.HasFailed();
    };
    const Bytes buttonBytes = bytesOf(button.Get());
    const Bytes formBytes = bytesOf(form.Get());
    EXPECT_TRUE(loads(buttonBytes) && loads(formBytes));
    EXPECT_TRUE(loads(Patched(buttonBytes, {kMark}, 4, 4)));
    EXPECT_FALSE(loads(Patched(buttonBytes, {kMark}, 4, 5)));
    // The form's own fields: caption height, then the borders.
    const auto caption = {std::bit_cast<std::uint32_t>(23.25f), std::bit_cast<std::uint32_t>(8.0f)};
    EXPECT_TRUE(loads(Patched(formBytes, caption, 0, std::bit_cast<std::uint32_t>(30.0f))));
    EXPECT_FALSE(loads(Patched(formBytes, caption, 0, 0x7FC00000)));
}

// The close button a script still holds no longer calls into its freed form.
TEST_F(Forms, CloseButtonOutlivingItsFormClosesNothing) {
    RefPtr<GUI::Button> close(form->GetCloseButton());
    hud->Clear();
    form = nullptr;
    close->FireClick();
    EXPECT_EQ(close->GetEventHandlerCount(GUI::ControlEvent::Click), 0u);
}

// A script may destroy the close button; the form still saves and loads.
TEST_F(Forms, StreamKeepsAFormWhoseCloseButtonWasDestroyed) {
    form->GetCloseButton()->DestroyNow();
    Frame();
    ASSERT_EQ(form->GetControlsCount(), 0u);
    Core::MemoryFile file;
    hud->WriteInformation(file);
    hud->Clear();
    Core::MemoryFile read(file.GetData(), file.GetSize());
    hud->ReadInformation(read);
    EXPECT_FALSE(read.HasFailed());
    EXPECT_EQ(hud->GetFormCount(), 1u);
}

}  // namespace
