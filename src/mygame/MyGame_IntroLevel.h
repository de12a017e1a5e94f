#pragma once

#include "core/Core_RefPtr.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"

#include <array>
#include <cstdint>

// Level 0: three logos, each faded in, held a second and faded out, then
// the title level. Any key or a left click skips the rest.
class IntroLevel : public Tundra::Level {
    TUN_DECLARE_UNCLONABLE_CLASS(IntroLevel);
    static constexpr std::uint32_t kLastStep = 9;

    IntroLevel() = default;
    ~IntroLevel() override;

    // The level part, then the step and its value; the logos are found
    // again in what was read.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Hides the cursor and finds the logos.
    void OnStart() override;
    void Update(float dt) override;

    std::uint32_t GetStep() const { return m_step; }
    float GetValue() const { return m_value; }

private:
    void FindLogos();
    // The opacity of the step's logo, when the content placed it.
    void ShowLogo(std::uint32_t logo) const;
    void RequestMenu() const;

    std::uint32_t m_step = 0;
    // The step's timer (seconds left) or the opacity of its logo.
    float m_value = 0.5f;
    // Held so that a logo destroyed meanwhile is never read freed.
    std::array<Core::RefPtr<Tundra::Sprite>, 3> m_logos;
};
