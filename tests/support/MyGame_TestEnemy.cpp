#include "support/MyGame_TestEnemy.h"

#include "core/Core_File.h"
#include "mygame/MyGame_GameTables.h"

TUN_DEFINE_CLASS(TestEnemy)

void TestEnemy::Save(Core::File& file) const {
    Enemy::Save(file);
    file.WriteI32(m_kind);
}

void TestEnemy::Load(Core::File& file) {
    Enemy::Load(file);
    std::int32_t kind = m_kind;
    file.ReadI32(kind);
    if (kind < 0 || kind >= static_cast<std::int32_t>(kEnemyKindCount)) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_kind = kind;
}
