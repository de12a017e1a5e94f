#pragma once

#include "mygame/MyGame_Enemy.h"

#include <cstdint>

// An enemy of a kind the test chooses (the damage rules differ by kind); the
// kind is written after the enemy part, so saved stages carry it.
class TestEnemy : public Enemy {
    TUN_DECLARE_CLASS(TestEnemy);
    TestEnemy() = default;
    explicit TestEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}
    TestEnemy(const TestEnemy& other) = default;

    void Save(Core::File& file) const override;
    // A kind outside the weapon table's enemy kinds fails the stream.
    void Load(Core::File& file) override;

    std::int32_t GetEnemyKind() const override { return m_kind; }
    void SetEnemyKind(std::int32_t kind) { m_kind = kind; }

private:
    std::int32_t m_kind = 0;
};
