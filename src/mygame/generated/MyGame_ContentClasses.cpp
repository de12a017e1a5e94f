#include "mygame/generated/MyGame_ContentClasses.h"

#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_DialogArrow.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_InternalSprite.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_OptionsUI.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "mygame/MyGame_PauseableParticleSystem.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_ShopTabs.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_TitleSun.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "mygame/MyGame_WepSelButton.h"
#include "mygame/MyGame_WepSelUI.h"
#include "mygame/generated/MyGame_ContentRecipe.h"

#include <array>

namespace {

template <class T>
constexpr ContentClass Sprite(std::string_view name) {
    return {.name = name, .sprite = &MakeSprite<T>};
}
template <class T>
constexpr ContentClass Text(std::string_view name) {
    return {.name = name, .text = &MakeText<T>};
}
template <class T>
constexpr ContentClass Particles(std::string_view name) {
    return {.name = name, .particles = &MakeParticles<T>};
}

// Every class the content constructs, under the content's names.
constexpr std::array kClasses{
    Sprite<Tundra::Sprite>("Tundra::Sprite"),
    Sprite<AlpacaBoss>("AlpacaBoss"),
    Sprite<BearBoss>("BearBoss"),
    Sprite<BossHp>("BossHp"),
    Sprite<BossProjectile>("BossProjectile"),
    Sprite<Bullet>("Bullet"),
    Sprite<Cloud>("Cloud"),
    Sprite<CursorClass>("CursorClass"),
    Sprite<CursorSprite>("CursorSprite"),
    Sprite<DialogArrow>("DialogArrow"),
    Sprite<DistanceUI>("DistanceUI"),
    Sprite<EnemyDrop>("EnemyDrop"),
    Sprite<FadeTransition>("FadeTransition"),
    Sprite<FlyingRangedEnemy>("FlyingRangedEnemy"),
    Sprite<GamePlayer>("GamePlayer"),
    Sprite<HpBar>("HpBar"),
    Sprite<InternalSprite>("InternalSprite"),
    Sprite<LabeledButton>("LabeledButton"),
    Sprite<LevelUI>("LevelUI"),
    Sprite<MapTile>("MapTile"),
    Sprite<MenuExit>("MenuExit"),
    Sprite<MenuPlayer>("MenuPlayer"),
    Sprite<OptionsUI>("OptionsUI"),
    Sprite<Projectile>("Projectile"),
    Sprite<Quorvex>("Quorvex"),
    Sprite<RollingSpike>("RollingSpike"),
    Sprite<ShopTabs>("ShopTabs"),
    Sprite<ShopUI>("ShopUI"),
    Sprite<SkyGradient>("SkyGradient"),
    Sprite<TitleSun>("TitleSun"),
    Sprite<UnknownBoss>("UnknownBoss"),
    Sprite<VolumeControl>("VolumeControl"),
    Sprite<WalkingRangedEnemy>("WalkingRangedEnemy"),
    Sprite<WeaponBar>("WeaponBar"),
    Sprite<WeaponSprite>("WeaponSprite"),
    Sprite<WepSelButton>("WepSelButton"),
    Sprite<WepSelUI>("WepSelUI"),
    Text<Tundra::Text>("Tundra::Text"),
    Text<CenteredText>("CenteredText"),
    Text<DialogText>("DialogText"),
    Text<FadingText>("FadingText"),
    Text<ScoreText>("ScoreText"),
    Particles<Tundra::ParticleSystem>("Tundra::ParticleSystem"),
    Particles<PauseableParticleSystem>("PauseableParticleSystem"),
    Particles<PS_FireDebuff>("PS_FireDebuff"),
};

}  // namespace

const ContentClass* FindContentClass(std::string_view name) {
    for (const ContentClass& entry : kClasses) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}
