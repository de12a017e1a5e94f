#include "support/MyGame_BossProjectileScene.h"

namespace mygametest {

TUN_DEFINE_CLASS(ActingObject)

void ActingObject::Update(float dt) {
    GameObject::Update(dt);
    if (!m_action) {
        return;
    }
    if (m_everyFrame) {
        m_action();
        return;
    }
    const std::function<void()> action = std::move(m_action);
    m_action = nullptr;
    action();
    Destroy();
}

}  // namespace mygametest
