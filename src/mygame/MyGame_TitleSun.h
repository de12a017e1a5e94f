#pragma once

#include "mygame/MyGame_PathFollower.h"
#include "tundra/Tundra_Sprite.h"

#include <vector>

// The title screen's sun: it rises along one path and sets along another
// once the title level tells it to.
class TitleSun : public Tundra::Sprite {
    TUN_DECLARE_CLASS(TitleSun);
    // No paths: the sun stays where it is put.
    TitleSun() = default;
    // Reads the rising and the setting path from the game's resources.
    explicit TitleSun(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // Shares the source's paths and copies where it is along them.
    TitleSun(const TitleSun& other) = default;

    // The sprite part, the rising path, the setting path (each: the curve
    // as an object reference, mode, t, speed, loop), then the flag. A curve
    // of another class fails the read.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Every start rises first.
    void OnStart() override;
    // Moves along the current path; without a curve the sun stays put.
    void Update(float dt) override;

    void SetUseEndPath(bool use) { m_useEndPath = use; }
    bool GetUseEndPath() const { return m_useEndPath; }
    const PathFollower& GetStartPath() const { return m_startPath; }
    const PathFollower& GetEndPath() const { return m_endPath; }

private:
    PathFollower m_startPath;
    PathFollower m_endPath;
    bool m_useEndPath = false;
};
