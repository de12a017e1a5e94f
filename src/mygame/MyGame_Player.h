#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_StateMachine.h"

#include <cstdint>
#include <vector>

class WeaponSprite;

// The character the user steers: a sprite with a weapon in each hand. Its
// movement machine turns the Left, Right and Jump keys into a velocity that
// it writes whole to its body every frame (the physics' gravity does not
// move it); its weapon machine swaps hands and fires with the mouse
// buttons. The level content places one object named "Player" in the title
// level and in a stage.
class Player : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Player);
    using Machine = Tundra::StateMachine<Player>;

    // Every form walks 5 to the right and -14 to the left and builds both
    // machines; a copy drives copies of the source's machines.
    Player();
    explicit Player(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    Player(const Player& other);
    ~Player() override;

    // The animation a defeated player plays.
    static constexpr int kDeathAnimation = 2;

    // The sprite part, the movement machine, the weapon machine, then the
    // fields; the weapons are found again by name.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Mounts "LeftWeapon" and "RightWeapon" and dims "RightWeaponBar".
    void OnStart() override;
    // Movement, velocity to the body, facing the cursor, aiming, weapons.
    void Update(float dt) override;

    // Pausing stops a playing animation (not the death animation, 2);
    // resuming plays it again only when it played at the pause.
    void SetPaused(bool paused);
    // On a collider tile's top, or on a block's line well below the player.
    bool IsOnGround() const;
    // Stops a push past the screen's left or right edge.
    void ClampToScreen();

    // The velocity field; the body's is the framework's overload.
    const Vector2D& GetVelocity() const { return m_velocity; }
    using Sprite::GetVelocity;
    bool IsFacingRight() const { return m_facingRight != 0; }
    bool IsInAir() const { return m_inAir != 0; }
    std::int32_t GetRightStep() const { return m_rightStep; }
    std::int32_t GetLeftStep() const { return m_leftStep; }
    WeaponSprite* GetLeftWeapon() const { return m_leftWeapon; }
    WeaponSprite* GetRightWeapon() const { return m_rightWeapon; }
    // Progress 0..1 of a hand swap; the weapon machine writes it.
    float GetWeaponBlend() const { return m_weaponBlend; }
    void SetWeaponBlend(float blend) { m_weaponBlend = blend; }
    const Machine* GetMovementMachine() const { return m_movementMachine.Get(); }
    const Machine* GetWeaponMachine() const { return m_weaponMachine.Get(); }

protected:
    // Written to the rigid body every frame; y up.
    Vector2D m_velocity{0.0f, 0.0f};
    // 1 when the last horizontal input was Right alone.
    std::uint8_t m_facingRight = 0;
    std::uint8_t m_inAir = 0;
    // Horizontal speeds, in units of the game's move-speed factor.
    std::int32_t m_rightStep = 5;
    std::int32_t m_leftStep = -14;

private:
    // The movement machine's states in array order (MyGame_PlayerMovement).
    static Machine* BuildMovementStateMachine(Player* owner);
    // Speeds now, from the move-speed factor: right is slower while a
    // stage's ground still scrolls.
    float LeftwardSpeed() const;
    float RightwardSpeed() const;
    void StepFall();

    // "MovementStateMachine": per update, not scaled by the frame time.
    void EnterIdle(float dt);
    void EnterInAir(float dt);
    void UpdateInAir(float dt);
    void EnterJump(float dt);
    void UpdateJump(float dt);
    void ExitJump(float dt);
    void EnterWalking(float dt);
    bool WantsWalk(float dt);
    bool WantsStop(float dt);
    bool IsAirborne(float dt);
    bool IsLanded(float dt);
    bool WantsJump(float dt);
    // The jump ends in the air once its minimum time is up.
    bool Always(float dt);

    void FaceCursor();

    // Mounted at start and found again after a load.
    WeaponSprite* m_leftWeapon = nullptr;
    WeaponSprite* m_rightWeapon = nullptr;
    float m_weaponBlend = 0.0f;
    std::uint8_t m_wasPlaying = 0;
    Core::RefPtr<Machine> m_movementMachine;
    Core::RefPtr<Machine> m_weaponMachine;
};
