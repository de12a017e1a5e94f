#include "support/Renderer_FakeTextureCache.h"

#include "os/OS_File.h"
#include "os/OS_ImageHeader.h"
#include "renderer/Renderer_TextureManagerTestHooks.h"

#include <vector>

namespace testsupport {
namespace {

// The size the image file's header claims; false when there is no such file.
bool ImageFileSize(const std::string& fileName, std::uint32_t& width, std::uint32_t& height) {
    os::ImageFileType type{};
    if (!os::ImageFileTypeOf(fileName, type)) {
        return false;
    }
    const os::FilePointer file = os::OpenFile(fileName, "rb");
    if (!file) {
        return false;
    }
    std::vector<std::uint8_t> bytes(1 << 16);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return os::ReadImageHeaderSize(type, bytes.data(), bytes.size(), width, height);
}

}  // namespace

FakeTextureCache::FakeTextureCache() {
    Renderer::SetTextureFactoryForTesting(
        [this](const Core::String& fileName, bool mipmaps) { return Get(fileName, mipmaps); });
}

FakeTextureCache::~FakeTextureCache() { Renderer::SetTextureFactoryForTesting({}); }

void FakeTextureCache::SetSize(const std::string& fileName, std::uint32_t width, std::uint32_t height) {
    m_sizes[fileName] = {width, height};
}

Core::RefPtr<Renderer::ITexture> FakeTextureCache::Get(const Core::String& fileName, bool mipmaps) {
    const std::string name(fileName);
    m_requests.push_back({name, mipmaps});
    if (const auto found = m_textures.find(name); found != m_textures.end()) {
        return found->second;
    }
    std::uint32_t width = kPlaceholderSize;
    std::uint32_t height = kPlaceholderSize;
    const std::optional<Size> ruled = m_sizeRule ? m_sizeRule(name) : std::nullopt;
    if (const auto size = m_sizes.find(name); size != m_sizes.end()) {
        width = size->second.first;
        height = size->second.second;
    } else if (ruled) {
        width = ruled->width;
        height = ruled->height;
    } else {
        ImageFileSize(name, width, height);
    }
    Core::RefPtr<Renderer::ITexture> texture(TUN_NEW(FakeTexture, width, height, 0, mipmaps));
    m_textures.emplace(name, texture);
    return texture;
}

}  // namespace testsupport
