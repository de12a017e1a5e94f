#include "mygame/MyGame_DistanceUI.h"

#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

TUN_DEFINE_CLASS(DistanceUI)

namespace {

// The marker runs over 248 units centred on the strip; the bar, 224 wide,
// keeps its left end at -112 while it grows.
constexpr float kMarkerTravel = 248.0f;
constexpr float kBarHalfWidth = 112.0f;

}  // namespace

DistanceUI::DistanceUI() : m_machine(BuildBossIncomingSM(this)) {}

DistanceUI::DistanceUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations), m_machine(BuildBossIncomingSM(this)) {}

DistanceUI::DistanceUI(const DistanceUI& other)
    : Sprite(other),
      m_active(other.m_active),
      m_warningShown(other.m_warningShown),
      m_machine(static_cast<StateMachine*>(other.m_machine->CloneState())),
      m_progress(other.m_progress) {
    m_machine->SetOwnerRecursive(this);
}

DistanceUI::~DistanceUI() = default;

void DistanceUI::Save(Core::File& file) const {
    Sprite::Save(file);
    m_machine->Save(file);
    file.WriteU8(m_active);
    file.WriteU8(m_warningShown);
    file.WriteF32(m_progress);
    file.WriteU8(m_started);
}

void DistanceUI::Load(Core::File& file) {
    Sprite::Load(file);
    if (file.HasFailed()) {
        return;
    }
    // Read into a copy, kept only when the whole stream is sound.
    const Core::RefPtr<StateMachine> machine(static_cast<StateMachine*>(m_machine->CloneState()));
    machine->Load(file);
    std::uint8_t active = m_active;
    std::uint8_t warningShown = m_warningShown;
    float progress = m_progress;
    std::uint8_t started = m_started;
    ReadFlagByte(file, active);
    ReadFlagByte(file, warningShown);
    ReadFinite(file, progress);
    ReadFlagByte(file, started);
    if (file.HasFailed()) {
        return;
    }
    m_machine = machine;
    m_active = active;
    m_warningShown = warningShown;
    m_progress = progress;
    m_started = started;
    m_bar = nullptr;
    m_background = nullptr;
    m_warningText = nullptr;
    m_warningBoss = nullptr;
    m_spritesPending = started;
}

void DistanceUI::FindSprites() {
    m_spritesPending = 0;
    m_bar = Tundra::FindObject<Tundra::Sprite>("DistBar");
    m_background = Tundra::FindObject<Tundra::Sprite>("DistBG");
    m_warningText = Tundra::FindObject<Tundra::Sprite>("WarningText");
    m_warningBoss = Tundra::FindObject<Tundra::Sprite>("WarningBoss");
}

void DistanceUI::FindSpritesAfterLoad() {
    if (m_spritesPending != 0) {
        FindSprites();
    }
}

void DistanceUI::OnStart() {
    Sprite::OnStart();
    FindSprites();
    m_started = 1;
    m_active = 0;
    m_warningShown = 0;
}

void DistanceUI::Update(float dt) {
    Sprite::Update(dt);
    FindSpritesAfterLoad();
    if (m_active == 0 || Globals().paused != 0 || IsDestroyRequested()) {
        return;
    }
    m_machine->Update(dt);
}

void DistanceUI::SetProgress(float progress) {
    FindSpritesAfterLoad();
    if (!m_bar || !std::isfinite(progress)) {
        return;
    }
    m_progress = progress;
    SetPositionX(std::trunc((progress - 0.5f) * kMarkerTravel));
    m_bar->SetScaleX(progress);
    m_bar->SetPositionX((progress - 1.0f) * kBarHalfWidth);
}

void DistanceUI::SetStripY(float y) {
    SetPositionY(y);
    for (Tundra::Sprite* part : {m_bar.Get(), m_background.Get()}) {
        if (part != nullptr) {
            part->SetPositionY(y);
        }
    }
}
