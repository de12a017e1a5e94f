#include "mygame/MyGame_VendingMachine.h"

#include "input/Input_Keyboard.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

TUN_DEFINE_CLASS(VendingMachine)

namespace {

// A clone of the level's "PushX" in the world layer, hidden; null without
// either.
Tundra::Sprite* ClonePrompt() {
    Tundra::Sprite* prompt = CloneNamedToWorld<Tundra::Sprite>("PushX");
    if (prompt != nullptr) {
        prompt->SetVisible(false);
    }
    return prompt;
}

}  // namespace

VendingMachine::VendingMachine() = default;

VendingMachine::VendingMachine(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

VendingMachine::VendingMachine(const VendingMachine& other) : Sprite(other) {}

VendingMachine::~VendingMachine() = default;

void VendingMachine::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU8(m_open);
    file.WriteF32(m_halfWidth);
    file.WriteF32(m_halfHeight);
    file << m_prompt;
    file << m_player;
    SaveOptionalFrame(file, m_frame.get());
}

void VendingMachine::Load(Core::File& file) {
    Sprite::Load(file);
    std::uint8_t open = m_open;
    float halfWidth = m_halfWidth;
    float halfHeight = m_halfHeight;
    Core::RefPtr<Tundra::Sprite> prompt;
    Core::RefPtr<MenuPlayer> player;
    ReadFlagByte(file, open);
    ReadFinite(file, halfWidth);
    ReadFinite(file, halfHeight);
    ReadLink(file, prompt);
    ReadLink(file, player);
    std::unique_ptr<UiFrame> frame = ReadOptionalFrame(file);
    if (file.HasFailed() || halfWidth < 0.0f || halfHeight < 0.0f) {
        file.SetFailed();
        return;
    }
    // Callbacks are not streamed, so an open page cannot be rebuilt.
    m_open = 0;
    m_endMenuAfterLoad = open != 0;
    m_halfWidth = halfWidth;
    m_halfHeight = halfHeight;
    m_prompt = prompt;
    m_player = player;
    m_frame = std::move(frame);
}

void VendingMachine::OnStart() {
    Sprite::OnStart();
    m_halfWidth = static_cast<float>(GetFrameWidth(0)) * 0.5f;
    m_halfHeight = static_cast<float>(GetFrameHeight(0)) * 0.5f;
    m_prompt = ClonePrompt();
    if (m_prompt) {
        const Vector2D above(GetPositionX(), GetPositionY() + kPromptRise);
        m_prompt->SetOldPosition(above);
        m_prompt->SetPosition(above);
    }
    m_player = Tundra::FindObject<MenuPlayer>("Player");
    m_open = 0;
    m_endMenuAfterLoad = false;
    if (m_frame) {
        m_frame->Destroy();
    }
    m_frame = MakeUiFrame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
}

void VendingMachine::Update(float dt) {
    if (m_endMenuAfterLoad) {
        m_endMenuAfterLoad = false;
        EndMenuAfterLoad();
        CloseMenu();
    }
    Sprite::Update(dt);
    if (!IsPlayerInRange()) {
        if (m_prompt) {
            m_prompt->SetVisible(false);
        }
        m_open = 0;
    } else {
        if (m_prompt) {
            m_prompt->SetVisible(true);
        }
        if (IsOpenKeyTriggered()) {
            if (m_player->GetControlsOn()) {
                OpenMenu();
            } else if (m_open != 0) {
                CloseMenu();
            }
        }
    }
    if (m_frame) {
        m_frame->Animate(dt);
    }
}

void VendingMachine::OnEnd() {
    Sprite::OnEnd();
    // The prompt is this machine's own clone.
    if (m_prompt) {
        const Core::RefPtr<Tundra::Sprite> prompt = std::move(m_prompt);
        prompt->Destroy();
    }
    if (m_frame) {
        m_frame->Destroy();
        m_frame.reset();
    }
}

void VendingMachine::OpenMenu() {
    m_open = 1;
    if (m_player) {
        m_player->SetControlsOn(false);
    }
}

void VendingMachine::CloseMenu() {
    m_open = 0;
    if (m_player) {
        m_player->SetControlsOn(true);
    }
}

bool VendingMachine::IsOpenKeyTriggered() {
    const MyGame* game = GetGame();
    const Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
    return keyboard != nullptr && keyboard->IsTriggered(kOpenKey);
}

bool VendingMachine::IsPlayerInRange() const {
    if (!m_player) {
        return false;
    }
    const float x = m_player->GetPositionX();
    const float y = m_player->GetPositionY();
    return GetPositionX() - m_halfWidth < x && x < GetPositionX() + m_halfWidth && GetPositionY() - m_halfHeight < y &&
           y < GetPositionY() + m_halfHeight;
}
