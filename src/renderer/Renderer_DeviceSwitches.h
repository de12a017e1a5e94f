#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace Renderer {

// What the renderer last told OpenGL about its on/off switches (capabilities
// and client arrays) and its selected texture units, so that a call that
// would change nothing is left out: effects restore and apply whole sets of
// states between small draws, most of them as they already are. A switch is
// unknown until first sent; the texture switches are kept per texture unit,
// the texture coordinate array per client unit. Only the renderer may turn
// these in OpenGL; the context starts with unit 0 selected for both.
class DeviceSwitches {
public:
    DeviceSwitches();

    // glEnable or glDisable.
    void SetEnabled(GLenum capability, bool enabled);
    // glEnableClientState or glDisableClientState.
    void SetClientState(GLenum array, bool enabled);
    // glActiveTextureARB / glClientActiveTextureARB, through the entry points.
    void SelectUnit(std::uint32_t unit);
    void SelectClientUnit(std::uint32_t unit);

private:
    // Units at or past this are passed on untracked.
    static constexpr std::uint32_t kUnits = 32;
    // Whether a known switch must be sent: it is unknown or other than
    // enabled. It is known as enabled afterwards.
    static bool Differs(std::int8_t& known, bool enabled);
    // Where the switch is kept, or kUntracked.
    std::size_t CapabilitySlot(GLenum capability) const;
    std::size_t ClientSlot(GLenum array) const;

    static constexpr std::size_t kUntracked = SIZE_MAX;
    // Switches of the whole context, then per texture unit.
    static constexpr std::size_t kContextSwitches = 22;
    static constexpr std::size_t kUnitSwitches = 6;
    static constexpr std::size_t kClientSwitches = 4 + kUnits;
    // -1 unknown, else 0 or 1.
    std::array<std::int8_t, kContextSwitches + kUnitSwitches * kUnits> m_capabilities;
    std::array<std::int8_t, kClientSwitches> m_clientArrays;
    std::uint32_t m_unit = 0;
    std::uint32_t m_clientUnit = 0;
};

}  // namespace Renderer
