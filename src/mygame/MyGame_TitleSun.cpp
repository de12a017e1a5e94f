#include "mygame/MyGame_TitleSun.h"

#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_Game.h"

#include <cstdint>

TUN_DEFINE_CLASS(TitleSun)

namespace {

// Units a second along either path.
constexpr float kPathSpeed = 470.0f;

PathFollower ReadPath(const char* name) {
    PathFollower follower;
    follower.curve =
        TUN_NEW(Tundra::CompositeBezierCurve, Tundra::Game::GetDirectory() + "\\Resources\\Paths\\" + name);
    follower.speed = kPathSpeed;
    follower.loop = 0;
    return follower;
}

}  // namespace

TitleSun::TitleSun(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations),
      m_startPath(ReadPath("TitleSun_SunStartPath")),
      m_endPath(ReadPath("TitleSun_SunEndPath")) {}

void TitleSun::Save(Core::File& file) const {
    Sprite::Save(file);
    m_startPath.Save(file);
    m_endPath.Save(file);
    file.WriteU8(m_useEndPath ? 1 : 0);
}

void TitleSun::Load(Core::File& file) {
    Sprite::Load(file);
    if (file.HasFailed()) {
        return;
    }
    // Read into copies: a sound start path must not stay behind a bad end.
    PathFollower startPath = m_startPath;
    PathFollower endPath = m_endPath;
    std::uint8_t useEndPath = m_useEndPath ? 1 : 0;
    startPath.Load(file);
    endPath.Load(file);
    ReadFlagByte(file, useEndPath);
    if (file.HasFailed()) {
        return;
    }
    m_startPath = startPath;
    m_endPath = endPath;
    m_useEndPath = useEndPath != 0;
}

void TitleSun::OnStart() {
    Sprite::OnStart();
    m_useEndPath = false;
}

void TitleSun::Update(float dt) {
    Sprite::Update(dt);
    PathFollower& path = m_useEndPath ? m_endPath : m_startPath;
    if (!path.HasPath()) {
        return;
    }
    Vector2D position = GetPosition();
    Vector2D direction;
    path.Advance(dt, position, direction);
    SetPosition(position);
}
