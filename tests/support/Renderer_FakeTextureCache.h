#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "support/Renderer_FakeTexture.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// While it lives, the texture cache hands out FakeTextures, one per file
// name: the size set for that name, else the size rule's, else the size the
// image file's header claims, else the placeholder's 64 x 64. Every request
// is recorded.
class FakeTextureCache {
public:
    struct Request {
        std::string fileName;
        bool mipmaps;
    };

    static constexpr std::uint32_t kPlaceholderSize = 64;

    struct Size {
        std::uint32_t width;
        std::uint32_t height;
    };
    // A size for a file name, or none to leave it to the image header.
    using SizeRule = std::function<std::optional<Size>(const std::string& fileName)>;

    FakeTextureCache();
    ~FakeTextureCache();
    FakeTextureCache(const FakeTextureCache&) = delete;
    FakeTextureCache& operator=(const FakeTextureCache&) = delete;

    // The size of textures made for this name from now on.
    void SetSize(const std::string& fileName, std::uint32_t width, std::uint32_t height);
    void SetSizeRule(SizeRule rule) { m_sizeRule = std::move(rule); }

    const std::vector<Request>& Requests() const { return m_requests; }
    // How many distinct textures were made.
    std::size_t TextureCount() const { return m_textures.size(); }

private:
    Core::RefPtr<Renderer::ITexture> Get(const Core::String& fileName, bool mipmaps);

    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> m_sizes;
    SizeRule m_sizeRule;
    std::map<std::string, Core::RefPtr<Renderer::ITexture>> m_textures;
    std::vector<Request> m_requests;
};

}  // namespace testsupport
