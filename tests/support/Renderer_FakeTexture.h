#pragma once

#include "renderer/Renderer_ITexture.h"

#include <cstdint>

namespace testsupport {

// A texture without pixels: a size and an OpenGL name the test chose (0 for
// none).
class FakeTexture : public Renderer::ITexture {
public:
    FakeTexture(std::uint32_t width, std::uint32_t height, std::uint32_t textureName = 0, bool mipmapped = false,
                std::uint32_t dimension = 1)
        : m_width(width), m_height(height), m_textureName(textureName), m_dimension(dimension),
          m_mipmapped(mipmapped) {}

    std::uint32_t GetWidth() const override { return m_width; }
    std::uint32_t GetHeight() const override { return m_height; }
    std::uint32_t GetFormat() const override { return 0; }
    std::uint32_t GetDimension() const override { return m_dimension; }
    std::uint32_t GetTextureName() const override { return m_textureName; }
    void Reload() override {}
    void Unload() override {}
    bool IsMipmapped() const override { return m_mipmapped; }
    const Core::String& GetName() const override { return m_name; }

private:
    std::uint32_t m_width;
    std::uint32_t m_height;
    std::uint32_t m_textureName;
    std::uint32_t m_dimension;
    bool m_mipmapped;
    Core::String m_name;
};

}  // namespace testsupport
