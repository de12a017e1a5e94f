#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The title screen's sun: it rises along one path and sets along another
// once the title level tells it to.
class TitleSun : public Tundra::Sprite {
    TUN_DECLARE_CLASS(TitleSun);
    TitleSun() = default;
    explicit TitleSun(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    TitleSun(const TitleSun& other) = default;

    void OnStart() override;

    void SetUseEndPath(bool use) { m_useEndPath = use; }
    bool GetUseEndPath() const { return m_useEndPath; }

private:
    bool m_useEndPath = false;
};
