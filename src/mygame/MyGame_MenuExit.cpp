#include "mygame/MyGame_MenuExit.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_WidgetStream.h"
#include "pal/PAL_Window.h"
#include "tundra/Tundra_FindObject.h"

TUN_DEFINE_CLASS(MenuExit)

namespace {

// The frame is a point at the bottom-left while closed and a square around
// the HUD's centre while open.
constexpr UiFrameRect kClosedFrame{-450.0f, -260.0f, -450.0f, -260.0f, 0.0f};
constexpr UiFrameRect kOpenFrame{-140.0f, 140.0f, 140.0f, -140.0f, 1.0f};

}  // namespace

MenuExit::MenuExit() = default;

MenuExit::MenuExit(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

MenuExit::MenuExit(const MenuExit& other) : Sprite(other) {}

MenuExit::~MenuExit() = default;

void MenuExit::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_width);
    file.WriteF32(m_height);
    file << m_confirm;
    file << m_cancel;
    file.WriteU32(m_state);
    WriteVector(file, m_cursor);
    file << m_heading;
    file << m_player;
    SaveOptionalFrame(file, m_frame.get());
}

void MenuExit::Load(Core::File& file) {
    Sprite::Load(file);
    float width = m_width;
    float height = m_height;
    Core::RefPtr<LabeledButton> confirm;
    Core::RefPtr<LabeledButton> cancel;
    std::uint32_t state = m_state;
    Vector2D cursor = m_cursor;
    Core::RefPtr<CenteredText> heading;
    Core::RefPtr<MenuPlayer> player;
    ReadFinite(file, width);
    ReadFinite(file, height);
    ReadLink(file, confirm);
    ReadLink(file, cancel);
    file.ReadU32(state);
    ReadVector(file, cursor);
    ReadLink(file, heading);
    ReadLink(file, player);
    std::unique_ptr<UiFrame> frame = ReadOptionalFrame(file);
    if (file.HasFailed() || width < 0.0f || height < 0.0f || state > kDialogOpen) {
        file.SetFailed();
        return;
    }
    m_width = width;
    m_height = height;
    m_confirm = confirm;
    m_cancel = cancel;
    m_state = state;
    m_cursor = cursor;
    m_heading = heading;
    m_player = player;
    m_frame = std::move(frame);
    m_relinkAfterLoad = true;
}

void MenuExit::OnStart() {
    Sprite::OnStart();
    const int animation = GetCurrentAnimationIndex();
    m_width = static_cast<float>(GetFrameWidth(animation));
    m_height = static_cast<float>(GetFrameHeight(animation));
    m_player = Tundra::FindObject<MenuPlayer>("Player");
    MakeWidgets();
    m_state = kIdle;
    m_relinkAfterLoad = false;
    if (m_frame) {
        m_frame->Destroy();
    }
    m_frame = MakeUiFrame(kClosedFrame);
}

void MenuExit::Update(float dt) {
    if (m_relinkAfterLoad) {
        RelinkWidgetsAfterLoad();
    }
    Sprite::Update(dt);
    if (GetVisible() && GetCurrentAnimationIndex() != 0) {
        FollowMouse();
        if (m_state == kDialogOpen && VendingMachine::IsOpenKeyTriggered()) {
            CloseDialog();
        }
    }
    if (m_frame) {
        m_frame->Animate(dt);
    }
}

void MenuExit::OnEnd() {
    Sprite::OnEnd();
    DestroyWidgets();
    if (m_frame) {
        m_frame->Destroy();
        m_frame.reset();
    }
}

void MenuExit::MakeWidgets() {
    m_heading = CreateCenteredText({0.0f, 100.0f}, "Exit");
    m_confirm = MakeLabeledButton({0.0f, 0.0f}, "Confirm", 0, {});
    m_cancel = MakeLabeledButton({0.0f, -65.0f}, "Cancel", 0, {});
    LinkButtons();
    PutAway(m_heading.Get());
    PutAway(m_confirm.Get());
    PutAway(m_cancel.Get());
}

void MenuExit::DestroyWidgets() {
    if (m_heading) {
        m_heading->Destroy();
        m_heading = nullptr;
    }
    for (Core::RefPtr<LabeledButton>* button : {&m_confirm, &m_cancel}) {
        if (*button) {
            (*button)->Destroy();
            *button = nullptr;
        }
    }
}

void MenuExit::LinkButtons() {
    if (m_confirm) {
        m_confirm->SetClickCallback([] { PAL::RequestQuit(); });
    }
    if (m_cancel) {
        m_cancel->SetClickCallback([this] { CloseDialog(); });
    }
}

void MenuExit::RelinkWidgetsAfterLoad() {
    m_relinkAfterLoad = false;
    LinkButtons();
    if (m_state == kDialogOpen) {
        CloseDialog();
    }
}

bool MenuExit::IsUnderCursor() const {
    // Raw client pixels against the full frame size: the title's camera
    // shows one world unit per client pixel.
    return m_player && m_player->GetControlsOn() && GetPositionX() - m_width <= m_cursor.x &&
           m_cursor.x <= GetPositionX() + m_width && GetPositionY() - m_height <= m_cursor.y &&
           m_cursor.y <= GetPositionY() + m_height;
}

void MenuExit::FollowMouse() {
    const Input::Mouse* mouse = MenuMouse();
    if (mouse == nullptr) {
        return;
    }
    m_cursor = mouse->GetPosition();
    if (!IsUnderCursor()) {
        if (m_state != kDialogOpen) {
            m_state = kIdle;
            SetCurrentAnimationIndex(kIdleAnimation, false);
            SetLoop(true);
            Play(true);
        }
        return;
    }
    switch (m_state) {
        case kIdle:
            SetCurrentAnimationIndex(kLitAnimation, false);
            m_state = kHovered;
            // A press that goes down as the pointer arrives is a press on it.
            [[fallthrough]];
        case kHovered:
            if (mouse->IsDown(0)) {
                m_state = kPressed;
            }
            break;
        case kPressed:
            if (mouse->IsUp(0)) {
                OpenDialog();
            }
            break;
        default:
            break;
    }
}

void MenuExit::OpenDialog() {
    if (m_player) {
        m_player->SetControlsOn(false);
    }
    if (m_frame) {
        m_frame->SetTargetRect(kOpenFrame);
    }
    EnterLate(m_heading.Get());
    EnterLate(m_confirm.Get());
    EnterLate(m_cancel.Get());
    m_state = kDialogOpen;
}

void MenuExit::CloseDialog() {
    if (m_player) {
        m_player->SetControlsOn(true);
    }
    PutAway(m_heading.Get());
    PutAway(m_confirm.Get());
    PutAway(m_cancel.Get());
    m_state = kIdle;
    if (m_frame) {
        m_frame->SetTargetRect(kClosedFrame);
    }
}
